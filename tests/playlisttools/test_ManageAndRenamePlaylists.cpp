// Manage Playlists and Rename Playlist over the started program.
#include "mainwindow/PlaylistFilesFixture.h"

#include "common/modFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "controls/ctlQX_3DPanel.h"
#include "playlisttools/FrmManagePlaylists.h"
#include "playlisttools/FrmRenamePlaylist.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

using veltra::MsgResult;

namespace {

void key(QWidget* w, int k, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0) at = w->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

class ManageTest : public PlaylistFilesFixture {
protected:
    FrmManagePlaylists& manage() { return forms().fresh<FrmManagePlaylists>(); }
    static QStringList column(FrmManagePlaylists& d, int c)
    {
        QStringList out;
        for (int r = 1; r <= d.lstvItems->items().count(); ++r) out << d.lstvItems->items().cell(r, c);
        return out;
    }
    // The rename dialog as Manage Playlists or the main window opened it.
    FrmRenamePlaylist& renaming(const QString& path, bool fromMain)
    {
        FrmRenamePlaylist& d = forms().fresh<FrmRenamePlaylist>();
        d.Get_Filename(path, fromMain);
        return d;
    }
};

TEST_F(ManageTest, ListsEachPlaylistWithItsSongsAndDateButNotTheDefaultOne)
{
    playlist("Twelve.spp", 12);   // 84 lines
    writeFile("Playlists/Empty.spp", "");
    writeFile("Playlists/Ten.spp", QByteArray("\"x\"\r\n").repeated(10));
    writeFile("Playlists/Eleven.spp", QByteArray("\"x\"\r\n").repeated(11));
    playlist("Default.SPP");
    writeFile("Playlists/readme.txt", "x");
    const QDateTime noon(QDate(2021, 3, 4), QTime(12, 30)), midnight(QDate(2021, 3, 5), QTime(0, 0));
    for (auto [file, when] : {std::pair{"Twelve.spp", noon}, std::pair{"Empty.spp", midnight}}) {
        QFile f(home(QStringLiteral("Playlists/") + file));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    FrmManagePlaylists& d = manage();
    EXPECT_EQ(d.windowTitle(), "Manage Playlists");
    EXPECT_EQ(d.lstvItems->items().columnHeader(2), "Created:");
    EXPECT_EQ(column(d, 0), QStringList({"Eleven", "Empty", "Ten", "Twelve"}));
    EXPECT_EQ(column(d, 1), QStringList({"2", "0", "1", "12"}));
    EXPECT_EQ(d.lstvItems->items().cell(4, 2), vb::ShortDate(noon.date()) + " " + QLocale().toString(noon.time(), QLocale::ShortFormat));
    EXPECT_EQ(d.lstvItems->items().cell(2, 2), vb::ShortDate(midnight.date()));
    EXPECT_EQ(d.selectedRow(), 1);
    EXPECT_FALSE(d.cmdBack->isEnabled());
    EXPECT_TRUE(d.cmdFinish->isDefault());
}

TEST_F(ManageTest, DeleteAsksDeletesAndRefreshesTheMainWindowTheRowStays)
{
    const QString rock = playlist("Rock.SPP");
    playlist("Jazz.spp");
    refill();
    choose("Jazz");
    FrmManagePlaylists& d = manage();
    d.lstvItems->items().selectOnly(2);
    d.mnuDelete_Click();
    EXPECT_EQ(ui.messages().last().title, "Delete Current Playlist Confirmation");
    EXPECT_FALSE(QFileInfo::exists(rock));
    EXPECT_EQ(lastLog(), rock + " was deleted.");
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Jazz"}));
    EXPECT_EQ(shown(), "Jazz");
    EXPECT_EQ(column(d, 0), QStringList({"Jazz", "Rock"}));

    // Again on the same row: the file is gone, so nothing is logged and the error says so.
    d.mnuDelete_Click();
    EXPECT_EQ(ui.messages().last().title, "Delete Current Playlist Error");
    EXPECT_EQ(log().count(" was deleted."), 1);

    // With no row at all the same error.
    QFile::remove(home("Playlists/Jazz.spp"));
    FrmManagePlaylists& empty = manage();
    ui.clear();
    empty.mnuDelete_Click();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().first().title, "Delete Current Playlist Error");
    empty.mnuRename_Click();   // nothing to rename: nothing happens
    EXPECT_EQ(ui.count("modal"), 0);
}

TEST_F(ManageTest, ClearDeletesEveryPlaylistTheDefaultOneToo)
{
    const QStringList files = {playlist("default.spp"), playlist("A.spp"), playlist("B.spp")};
    refill();
    FrmManagePlaylists& d = manage();
    ui.msgAnswers.push_back(MsgResult::No);
    d.mnuClear_Click();
    EXPECT_TRUE(QFileInfo::exists(files[0]));
    d.mnuClear_Click();
    EXPECT_EQ(ui.messages().last().text,
              "You are about to physically delete all of the playlists from your computer.\r\n\r\nDo you wish to continue?\r\n");
    for (const QString& f : files) {
        EXPECT_FALSE(QFileInfo::exists(f));
        EXPECT_TRUE(log().contains(f + " playlist was deleted.\r\n"));
    }
    EXPECT_EQ(box(), QStringList({"((Select Playlist))"}));
    EXPECT_EQ(column(d, 0), QStringList({"A", "B"}));
}

TEST_F(ManageTest, RenameRefusesWhatItCannotDo)
{
    const QString rock = playlist("Rock.spp");
    playlist("Jazz.spp");
    const QString title = "Renaming Playlist Name Error";
    const QString end = "\r\n\r\nThis function will not be proformed.\r\n";
    struct Case {
        QString name;
        QString text;
    };
    QList<Case> cases = {
        {"", "It has been detected that you have not entered a new playlist name." + end},
        {"Jazz", "An error has occur while trying to rename the playlists filename.  Make sure that the file is not in use." + end},
    };
    for (const QChar c : QStringLiteral("\\/:*?\"<>|"))
        cases.append({QStringLiteral("a") + c + u'b',
                      "It has been detected that you have entered a character that is not supported.\r\n\r\n"
                      "You cannot use any of the following characters:\r\n\\ / : * ? \" < > |"
                          + end});
    for (const Case& c : cases) {
        FrmRenamePlaylist& d = renaming(rock, true);
        d.txtName->setText(c.name);
        d.cmdRename_Click();
        EXPECT_EQ(lastBox(), title + u'|' + c.text) << c.name.toStdString();
        EXPECT_EQ(d.result(), 0);   // still open
    }
    EXPECT_TRUE(QFileInfo::exists(rock));
    EXPECT_EQ(records(home("Playlists/Jazz.spp")).count("\r\n"), 14);

    FrmRenamePlaylist& gone = renaming(home("Playlists/Gone.spp"), true);
    gone.cmdRename_Click();
    EXPECT_EQ(lastBox(), title + "|It has been detected that the playlist you are trying to rename does not exist." + end);
}

TEST_F(ManageTest, RenameKeepsTheFileReadOnlyLogsAndSelectsTheNewNameInTheMainWindow)
{
    const QString rock = playlist("Rock.spp");
    refill();
    choose("Rock");
    makeReadOnly(rock);

    FrmRenamePlaylist& d = renaming(rock, true);
    EXPECT_EQ(d.txtName->text(), "Rock");
    EXPECT_EQ(d.lblDirectory->text(), home("Playlists/"));
    d.txtName->setText("rock.old");
    ui.msgAnswers.push_back(MsgResult::No);
    d.cmdRename_Click();
    EXPECT_EQ(ui.messages().last().title, "Renaming Playlist Name Confirmation");
    EXPECT_TRUE(QFileInfo::exists(rock));
    EXPECT_EQ(d.txtName->text(), "rock.old");

    d.cmdRename_Click();   // Yes
    const QString renamed = home("Playlists/rock.old.spp");
    EXPECT_TRUE(QFileInfo::exists(renamed));
    EXPECT_FALSE(QFileInfo::exists(rock));
    EXPECT_TRUE(files_HasAttribute(renamed, 1));
    EXPECT_EQ(lastLog(), "Playlist " + rock + " was renamed to " + home("Playlists/rock.old") + ".");
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "rock.old"}));
    EXPECT_EQ(shown(), "rock.old");
    EXPECT_EQ(menus().mnuItem->at(1)->text(), "rock.old");
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

// ---- through the running program ------------------------------------------------------------------

TEST_F(ManageTest, ManageIsOpenedFromTheMenuAndDrivenByKeysAndClicks)
{
    FrmMain& m = main();
    m.show();
    playlist("Blues.spp", 1);
    const QString rock = playlist("Rock.spp", 3);
    refill();
    choose("Blues");

    bool menuShown = false;
    // Manage Playlists: Delete on the second row, then Rename from the Options menu, then Finish.
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* d = qobject_cast<FrmManagePlaylists*>(form);
        ASSERT_NE(d, nullptr);
        QTimer::singleShot(0, d, [&, d] {
            QWidget* viewport = d->lstvItems->viewport();
            const QRect second = d->lstvItems->visualRect(d->lstvItems->model()->index(1, 0));
            click(viewport, Qt::RightButton, second.center());   // picks the row, opens the menu
            menuShown = d->mnuMenu->isVisible();
            d->mnuMenu->hide();
            ui.msgAnswers.push_back(MsgResult::No);
            key(d->lstvItems, Qt::Key_Delete);                   // asks; No keeps the file
            click(d->qxpOptions);                                // the Options panel opens the menu
            const QPoint item = d->mnuMenu->actionGeometry(d->mnuRename).center();
            click(d->mnuMenu, Qt::LeftButton, item);
            click(d->cmdFinish);
        });
        d->exec();
    });
    // Rename Playlist: a new name typed, Enter.
    ui.modalHandlers.push_back([&](QObject* form) {
        auto* d = qobject_cast<FrmRenamePlaylist*>(form);
        ASSERT_NE(d, nullptr);
        QTimer::singleShot(0, d, [d] {
            d->txtName->setFocus();
            d->txtName->selectAll();
            for (const QChar c : QStringLiteral("Heavy"))
                key(d->txtName, Qt::Key_A + (c.toUpper().unicode() - 'A'), QString(c));
            key(d->txtName, Qt::Key_Return);
        });
        d->exec();
    });
    QMenu* owner = nullptr;
    for (QMenu* menu : m.findChildren<QMenu*>())
        if (menu->actions().contains(m.mnuManagePlaylists)) owner = menu;
    ASSERT_NE(owner, nullptr);
    clickInMenu(owner, m.mnuManagePlaylists);

    EXPECT_TRUE(menuShown);
    EXPECT_EQ(ui.count("modal"), 2);
    EXPECT_EQ(ui.messages().last().title, "Delete Current Playlist Confirmation");
    EXPECT_TRUE(ui.messages().last().text.contains(rock));
    EXPECT_FALSE(QFileInfo::exists(rock));
    EXPECT_TRUE(QFileInfo::exists(home("Playlists/Heavy.spp")));
    EXPECT_EQ(lastLog(), "Playlist " + rock + " was renamed to " + home("Playlists/Heavy") + ".");
    // Finish brought the main window up to date, keeping the playlist it showed.
    EXPECT_EQ(box(), QStringList({"((Select Playlist))", "Blues", "Heavy"}));
    EXPECT_EQ(shown(), "Blues");
    EXPECT_FALSE(forms().isLoaded<FrmManagePlaylists>());
}

} // namespace
