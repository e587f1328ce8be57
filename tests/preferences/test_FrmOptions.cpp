// The start-up options, through the real start-up's "/systray /winload" and on their own.
#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/modSettings.h"
#include "platform/MediaPlayerControl.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmOptions.h"
#include "startup/Forms.h"
#include "support/StartupFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

class StartupOptionsTest : public StartupFixture {
protected:
    QStringList offered(FrmOptions& o)
    {
        QStringList names;
        for (int i = 0; i < o.cmbPlaylist->count(); ++i) names.append(o.cmbPlaylist->itemText(i));
        return names;
    }
    bool playing() { return main().wmpPlayer().PlayState() == veltra::MediaPlayerControl::State::Playing; }
    QString log() { return forms().get<FrmConsole>().Text(); }
};

TEST_F(StartupOptionsTest, TheStartWithTheSessionPlaysTheChosenPlaylist)
{
    writePlaylist("Playlists/Rock.spp", {song("r1.mp3"), song("r2.mp3")});
    writePlaylist("Playlists/jazz.SPP", {song("j1.mp3")});
    writePlaylist("Playlists/DEFAULT.spp", {song("d1.mp3"), song("d2.mp3"), song("d3.mp3")});
    writePlaylist("Playlists/Default.spp", {song("d4.mp3")});
    ui.modalHandlers.push_back([this](QObject* form) {
        auto* o = qobject_cast<FrmOptions*>(form);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->windowTitle(), QStringLiteral("VELTRA Options"));
        EXPECT_EQ(offered(*o), QStringList({"((Select Playlist))", "jazz", "Rock"}));
        EXPECT_EQ(o->cmbPlaylist->currentIndex(), 0);
        EXPECT_TRUE(o->opOption[0]->isChecked());
        EXPECT_TRUE(o->chkOption->isChecked());
        o->cmbPlaylist->setCurrentIndex(2);
        o->cmdNext->click();
    });
    start({"/systray", "/winload"});
    ASSERT_EQ(main().rows().count(), 2);
    EXPECT_EQ(main().rows().subItem(1, 6), home("music/r1.mp3"));
    EXPECT_EQ(main().wmpPlayer().FileName(), home("music/r1.mp3"));
    EXPECT_TRUE(playing());
    EXPECT_EQ(main().CurrentTrack, 1);
    EXPECT_EQ(main().cmbPlaylists->currentText(), QStringLiteral("Rock"));
    EXPECT_FALSE(forms().isLoaded<FrmOptions>());
    // start-up turns the console's logging on only after the command line (its own order)
}

TEST_F(StartupOptionsTest, NoChosenPlaylistOrAMissingFileLeavesTheMainPlaylistAsItWas)
{
    writePlaylist("Playlists/default.spp", {song("a.mp3"), song("b.mp3")});
    writePlaylist("Playlists/Gone.spp", {song("g.mp3")});
    start();
    FrmOptions& o = forms().fresh<FrmOptions>();
    const QString before = log();
    o.cmdNext_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("VELTRA Options Error"));
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("It has been detected that you have not selected a playlist.\r\n\r\nThis function will not be proformed.\r\n"));

    QFile::remove(home("Playlists/Gone.spp"));
    o.cmbPlaylist->setCurrentIndex(1);
    o.cmdNext_Click();
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[1].title, QStringLiteral("Error Loading List"));
    EXPECT_EQ(main().rows().count(), 2);
    EXPECT_EQ(main().cmbPlaylists->currentIndex(), 0);
    EXPECT_FALSE(playing());
    EXPECT_EQ(log(), before);
    EXPECT_EQ(o.result(), 0);   // still open for another choice

    writePlaylist("Playlists/Jazz.spp", {song("j.mp3")});
    FrmOptions& again = forms().fresh<FrmOptions>();
    again.cmbPlaylist->setCurrentIndex(1);
    again.cmdNext_Click();
    EXPECT_EQ(main().rows().count(), 1);
    EXPECT_TRUE(playing());
    ASSERT_TRUE(log().startsWith(before));
    EXPECT_TRUE(log().mid(before.size()).startsWith(home("Playlists/Jazz.spp") + QStringLiteral(" opened.\r\n")));
}

TEST_F(StartupOptionsTest, LastUsedPlaysRowOneAndTheOtherChoicesTouchNothing)
{
    writePlaylist("Playlists/default.spp", {song("a.mp3"), song("b.mp3")});
    start();
    for (int option : {2, 1}) {
        FrmOptions& o = forms().fresh<FrmOptions>();
        o.opOption[option]->setChecked(true);
        o.cmdNext_Click();
        EXPECT_EQ(o.result(), int(QDialog::Accepted));
        EXPECT_EQ(playing(), option == 1);
        EXPECT_EQ(main().rows().count(), 2);
    }
    EXPECT_EQ(main().wmpPlayer().FileName(), home("music/a.mp3"));

    // The box stops the window from coming again, and brings it back.
    FrmOptions& o = forms().fresh<FrmOptions>();
    o.chkOption->click();
    EXPECT_EQ(settings_ReadValue("Settings", "ShowOptionsWindow"), QStringLiteral("0"));
    EXPECT_FALSE(forms().fresh<FrmOptions>().chkOption->isChecked());
    forms().get<FrmOptions>().chkOption->click();
    EXPECT_EQ(settings_ReadValue("Settings", "ShowOptionsWindow"), QStringLiteral("1"));
}
