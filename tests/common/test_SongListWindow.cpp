// The command set both per-song list windows share, run on each: the switch and captions,
// the clear question, Remove Selected by the Delete key (kept after a restart), dead files,
// Show Headers, renamed files, the close box, and a list file that could not be read.
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modSettings.h"
#include "extras/FrmTracking.h"
#include "player/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"
#include "startup/Forms.h"
#include "player/MainWindowFixture.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QApplication>
#include <QMouseEvent>

namespace {
struct ListCase {
    const char* name;
    const char* file;
    const char* caption;
    const char* switchKey;
    const char* headersKey;
    const char* clearTitle;
    const char* clearText;
    SongListWindow& (*window)();
    void (*unload)();
    // Adds a row for the file through the window's own command (switch on).
    void (*add)(SongListWindow& w, const QString& file);
    QCheckBox* (*switchOf)(SongListWindow& w);
};

const ListCase kCases[] = {
    {"Volumes", "volumes.ssb", "Adjust Volumes", "AlwaysUseVolumeAdjusting", "ShowAdjustVolumesHeaders",
     "Clear Volumes List Confirmation",
     "Once the volumes list has been cleared, you will not be able to get it back.\r\n\r\nDo you wish to continue?\r\n",
     [] () -> SongListWindow& { return forms().get<FrmAdjustVolumes>(); }, [] { forms().unload<FrmAdjustVolumes>(); },
     [](SongListWindow& w, const QString& f) { static_cast<FrmAdjustVolumes&>(w).volumes_Add(QStringLiteral("A"), QStringLiteral("T"), 50, f); },
     [](SongListWindow& w) { return static_cast<FrmAdjustVolumes&>(w).chkAlwaysAdjust; }},
    {"Tracking", "tracking.ssb", "Tracking", "AlwaysTrackMediaFilesPlayed", "ShowTrackingHeaders", "Clear Tracking List Confirmation",
     "Once the tracking list has been cleared, you will not be able to get it back.\r\n\r\nDo you wish to continue?\r\n",
     [] () -> SongListWindow& { return forms().get<FrmTracking>(); }, [] { forms().unload<FrmTracking>(); },
     [](SongListWindow& w, const QString& f) { static_cast<FrmTracking&>(w).tracking_Add(QStringLiteral("A"), QStringLiteral("T"), f); },
     [](SongListWindow& w) { return static_cast<FrmTracking&>(w).chkAlwaysUseTracking; }},
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class SongListWindowTest : public VeltraTest, public ::testing::WithParamInterface<ListCase> {
protected:
    void SetUp() override
    {
        VeltraTest::SetUp();
        settings_WriteValue(QStringLiteral("Settings"), QString::fromLatin1(GetParam().switchKey), QStringLiteral("1"));
    }
    SongListWindow& window() { return GetParam().window(); }
    SongListWindow& restart()
    {
        GetParam().unload();
        return window();
    }
    QString listFile() { return home(QString::fromLatin1(GetParam().file)); }
    QStringList files(SongListWindow& w)
    {
        QStringList out;
        for (int r = 1; r <= w.rows().count(); ++r) out.append(w.rows().subItem(r, 3));
        return out;
    }
    // Three rows for files that exist.
    QStringList addThree(SongListWindow& w)
    {
        QStringList paths;
        for (const char* n : {"a.mp3", "b.mp3", "c.mp3"}) {
            paths.append(writeFile(QStringLiteral("Music/") + QLatin1String(n), "x"));
            GetParam().add(w, paths.last());
        }
        return paths;
    }
    static void key(QWidget* target, Qt::Key k)
    {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }
    static void press(QWidget* target, Qt::MouseButton button, QPoint at = QPoint(2, 2))
    {
        QMouseEvent e(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
};
} // namespace

TEST_P(SongListWindowTest, SwitchSetsCaptionSettingAndCommands)
{
    SongListWindow& w = window();
    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(GetParam().caption) + QStringLiteral(" - [Enabled]"));
    addThree(w);
    processEvents(120);   // the window's own 50 ms timer enables the commands
    EXPECT_TRUE(w.mnuRemoveDeadFilenames->isEnabled());
    EXPECT_TRUE(w.cmdClear->isEnabled());

    QCheckBox* box = GetParam().switchOf(w);
    box->show();
    box->click();   // the user's click runs the handler
    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(GetParam().caption) + QStringLiteral(" - [Disabled]"));
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QString::fromLatin1(GetParam().switchKey)), QStringLiteral("0"));
    EXPECT_FALSE(w.lstvItems->isEnabled());
    EXPECT_FALSE(w.mnuRemoveSelected->isEnabled());
    EXPECT_FALSE(w.cmdClear->isEnabled());
    processEvents(120);   // the timer leaves a switched-off window alone
    EXPECT_FALSE(w.cmdClear->isEnabled());
}

TEST_P(SongListWindowTest, ClearAsksAndOnYesDeletesTheFile)
{
    SongListWindow& w = window();
    addThree(w);
    const QByteArray before = readFile(listFile());
    ui.msgAnswers = {veltra::MsgResult::No};
    w.cmdClear_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QString::fromLatin1(GetParam().clearTitle));
    EXPECT_EQ(ui.messages()[0].text, QString::fromLatin1(GetParam().clearText));
    EXPECT_EQ(ui.messages()[0].buttons, int(veltra::MsgButtons::YesNo));
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Exclamation));
    EXPECT_EQ(w.rows().count(), 3);
    EXPECT_EQ(readFile(listFile()), before);

    w.mnuClear_Click();   // Yes by default
    EXPECT_EQ(w.rows().count(), 0);
    EXPECT_FALSE(QFile::exists(listFile()));
    EXPECT_EQ(restart().rows().count(), 0);
}

TEST_P(SongListWindowTest, DeleteKeyRemovesTheSelectedRowForGood)
{
    SongListWindow& w = window();
    const QStringList paths = addThree(w);
    w.show();
    processEvents(120);
    const QString gone = w.rows().subItem(2, 3);
    controls_SelectItem(w.rows(), 2);
    key(w.lstvItems, Qt::Key_Delete);
    EXPECT_EQ(w.rows().count(), 2);
    EXPECT_FALSE(files(w).contains(gone));
    EXPECT_FALSE(files(restart()).contains(gone));   // written at once, not at the next change
    EXPECT_EQ(window().rows().count(), 2);
}

TEST_P(SongListWindowTest, DeadFilesGoAndTheLastOneTakesTheFile)
{
    SongListWindow& w = window();
    const QStringList paths = addThree(w);
    QFile::remove(paths[0]);
    w.mnuRemoveDeadFilenames_Click();
    EXPECT_EQ(w.rows().count(), 2);
    EXPECT_EQ(ui.messages().last().title, QStringLiteral("Remove Dead Filenames Information"));
    EXPECT_EQ(files(restart()).size(), 2);
    QFile::remove(paths[1]);
    QFile::remove(paths[2]);
    window().mnuRemoveDeadFilenames_Click();
    EXPECT_EQ(window().rows().count(), 0);
    EXPECT_FALSE(QFile::exists(listFile()));
}

TEST_P(SongListWindowTest, F1ShowsAndHidesTheHeadersAndTheOptionsLabelOpensThePopup)
{
    SongListWindow& w = window();
    w.show();
    const bool hiddenBefore = w.lstvItems->hideColumnHeaders();
    key(w.lstvItems, Qt::Key_F1);
    EXPECT_NE(w.lstvItems->hideColumnHeaders(), hiddenBefore);
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QString::fromLatin1(GetParam().headersKey)),
              w.mnuShowHeaders->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    EXPECT_EQ(w.mnuShowHeaders->isChecked(), !w.lstvItems->hideColumnHeaders());

    press(w.lblOptions, Qt::LeftButton);
    QMenu* popup = w.mnuShowHeaders->associatedObjects().isEmpty() ? nullptr : qobject_cast<QMenu*>(w.mnuShowHeaders->associatedObjects().first());
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
    press(w.lstvItems->viewport(), Qt::RightButton, QPoint(20, 20));
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

TEST_P(SongListWindowTest, RenamedFileIsRepointedAndTheListSavedEvenWhenUnlisted)
{
    SongListWindow& w = window();
    const QStringList paths = addThree(w);
    auto rename = [&](const QString& a, const QString& b) {
        if (auto* v = qobject_cast<FrmAdjustVolumes*>(&w)) v->volumes_UpdateFilename(a, b);
        else static_cast<FrmTracking&>(w).tracking_UpdateFilename(a, b);
    };
    QFile::remove(listFile());
    rename(home(QStringLiteral("Music/none.mp3")), home(QStringLiteral("Music/x.mp3")));
    EXPECT_TRUE(QFile::exists(listFile()));   // rewritten with the unchanged list
    GetParam().switchOf(w)->setChecked(false);   // the switch is not asked
    rename(paths[1], home(QStringLiteral("Music/New Name.mp3")));
    EXPECT_TRUE(files(restart()).contains(home(QStringLiteral("Music/New Name.mp3"))));
    EXPECT_FALSE(files(window()).contains(paths[1]));
}

TEST_P(SongListWindowTest, CloseBoxOnlyHides)
{
    SongListWindow& w = window();
    w.show();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isHidden());
    EXPECT_TRUE(forms().isLoaded<FrmTracking>() || forms().isLoaded<FrmAdjustVolumes>());
}

TEST_P(SongListWindowTest, ListFileThatCannotBeReadIsNeverWrittenOver)
{
    const QByteArray broken = "\"only\"\r\n\"three\"\r\n\"cells\"\r\n";
    writeFile(QString::fromLatin1(GetParam().file), broken);
    SongListWindow& w = window();
    EXPECT_EQ(ui.messages().last().title, QStringLiteral("Error Loading List"));
    GetParam().add(w, writeFile(QStringLiteral("Music/a.mp3"), "x"));
    EXPECT_EQ(w.rows().count(), 1);   // kept for this run
    EXPECT_EQ(readFile(listFile()), broken);
}

INSTANTIATE_TEST_SUITE_P(BothLists, SongListWindowTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });
