// Arranging the playlist: the entry buffer, removing, cropping, sorting, moving, shuffling and
// the lock, with the playing row and the Play Next mark following their songs throughout.
#include "mainwindow/MainWindowFixture.h"

#include "common/FrmConsole.h"
#include "common/modColours.h"
#include "common/modMath.h"
#include "common/modSettings.h"
#include "controls/SystemColours.h"
#include "library/FrmMediaLibrary.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <QToolBar>

#include <functional>

namespace {

class ArrangeTest : public MainWindowTest {
protected:
    QString file(int row) { return rows().subItem(row, PlaylistColumn::Filename); }
    QString log() { return forms().get<FrmConsole>().Text(); }
    QStringList numbers()
    {
        QStringList out;
        for (int r = 1; r <= rows().count(); ++r) out.append(rows().text(r));
        return out;
    }
    void select(const QList<int>& which)
    {
        rows().clearSelection();
        for (int r : which) rows().setSelected(r, true);
    }
    // Rows A..F; row 3 (C) plays, row 5 (E) is marked Play Next.
    void playingList()
    {
        rows().clear();
        for (const char* a : {"A", "B", "C", "D", "E", "F"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
        playRow(3);
        main().tmrPosition_Timer();
        controls_SelectItem(rows(), 5);
        main().mnuPlayNext_Click();
        ASSERT_EQ(main().PlayNextIndex, 5);
        playing = file(3);
        marked = file(5);
    }
    QString playing, marked;
};

TEST_F(ArrangeTest, CutCopyAndPasteGoThroughTheEntryBuffer)
{
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C", "D", "E"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    rows().setSubItem(2, PlaylistColumn::Status, QStringLiteral("Skip"));
    rows().setSubItem(4, PlaylistColumn::Status, QStringLiteral("Play Once"));
    const QString b = file(2), d = file(4);
    select({2, 4});
    m.mnuCut_Click();
    ASSERT_EQ(m.EntryBuffer.size(), 3);
    EXPECT_EQ(m.EntryBuffer[1], QStringList({"B", "T", "", "Skip", "", b}));
    EXPECT_EQ(m.EntryBuffer[2].value(5), d);
    EXPECT_EQ(artists(), QStringList({"A", "C", "E"}));
    EXPECT_EQ(numbers(), QStringList({"01", "02", "03"}));

    m.mnuPaste_Click();
    m.mnuPaste_Click();   // the buffer stays after a paste
    EXPECT_EQ(artists(), QStringList({"A", "C", "E", "B", "D", "B", "D"}));
    EXPECT_EQ(rows().subItem(6, PlaylistColumn::Status), QStringLiteral("Skip"));
    EXPECT_EQ(rows().subItem(7, PlaylistColumn::Status), QStringLiteral("Play Once"));
    EXPECT_EQ(numbers().last(), QStringLiteral("07"));

    // An entry without a file name is never pasted.
    m.EntryBuffer.append(QStringList({"X", "Y", "", "Play", "", ""}));
    m.mnuPaste_Click();
    EXPECT_EQ(rows().count(), 9);
    EXPECT_FALSE(artists().contains(QStringLiteral("X")));

    // Paste and Clear follow the buffer; Copy of nothing empties it.
    m.tmrWindowUpdate_Timer();
    EXPECT_TRUE(m.mnuPaste->isEnabled() && m.mnuClear->isEnabled());
    rows().clearSelection();
    m.mnuCopy_Click();
    m.tmrWindowUpdate_Timer();
    EXPECT_FALSE(m.mnuPaste->isEnabled() || m.mnuClear->isEnabled());
    select({1});
    m.mnuCopy_Click();
    EXPECT_EQ(rows().count(), 9);   // a copy leaves the rows
    m.mnuSelectAll_Click();
    EXPECT_EQ(rows().selectedCount(), 9);
    m.mnuCut_Click();
    EXPECT_EQ(rows().count(), 0);
    EXPECT_EQ(m.EntryBuffer.size(), 10);
}

TEST_F(ArrangeTest, CropKeepsTheSelectedRowsAndWithNoneSelectedEmptiesTheList)
{
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C", "D", "E"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    select({2, 4});
    m.mnuSelectedCrop_Click();
    EXPECT_EQ(artists(), QStringList({"B", "D"}));
    EXPECT_EQ(numbers(), QStringList({"01", "02"}));
    rows().clearSelection();
    m.mnuSelectedCrop_Click();
    EXPECT_EQ(rows().count(), 0);
    m.mnuSelectedCrop_Click();   // an empty list stays as it is
    m.mnuSelectAll_Click();
    EXPECT_EQ(rows().count(), 0);
}

TEST_F(ArrangeTest, PlayingRowAndPlayNextMarkFollowTheirSongs)
{
    startDefault();
    FrmMain& m = main();
    struct Case {
        const char* name;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"cut above", [&] { select({1, 2}); m.mnuCut_Click(); }},
        {"crop", [&] { select({2, 3, 4, 5}); m.mnuSelectedCrop_Click(); }},
        {"remove selected", [&] { select({1, 4}); m.mnuRemoveSelected_Click(); }},
        {"dead", [&] { QFile::remove(file(1)); QFile::remove(file(6)); m.mnuRemoveAlDeadFilenames_Click(); }},
        {"duplicates", [&] { m.playlist_AddSong(QStringLiteral("A"), QStringLiteral("T"), QString(), file(1)); m.mnuRemoveDuplicateFilenames_Click(); }},
        {"delete", [&] { select({2}); m.mnuRemovePhysicallyDeleteSelected_Click(); }},
        {"move playing up", [&] { controls_SelectItem(rows(), 3); m.mnuSelectedMoveUp_Click(); }},
        {"move below up over it", [&] { controls_SelectItem(rows(), 4); m.mnuSelectedMoveUp_Click(); }},
        {"move marked down", [&] { controls_SelectItem(rows(), 5); m.mnuSelectedMoveDown_Click(); }},
        {"sort descending", [&] { m.mnuSortViaDecending_Click(); m.mnuSortByArtist_Click(); m.mnuDontSort_Click(); }},
        {"shuffle", [&] { math::seed(7); m.mnuShuffleThePlaylist_Click(); }},
    };
    for (const Case& c : cases) {
        playingList();
        c.act();
        ASSERT_GE(m.CurrentTrack, 1) << c.name;
        EXPECT_EQ(file(m.CurrentTrack), playing) << c.name;
        ASSERT_GE(m.PlayNextIndex, 1) << c.name;
        EXPECT_EQ(file(m.PlayNextIndex), marked) << c.name;
        EXPECT_EQ(player().FileName(), playing) << c.name;
        EXPECT_EQ(player().PlayState(), veltra::MediaPlayerControl::State::Playing) << c.name;
    }

    // The playing row cut: the song plays on, the row before its place stands for it, and the
    // song after it comes next. The marked row cut: no mark, plain captions.
    playingList();
    const QString after = file(4);
    select({3, 5});
    m.mnuCut_Click();
    EXPECT_EQ(m.CurrentTrack, 2);
    EXPECT_EQ(m.PlayNextIndex, 0);
    EXPECT_EQ(m.mnuPlayNext->text(), QStringLiteral("Play Ne&xt...\tX"));
    EXPECT_EQ(menus().mnuPlayNext->text(), QStringLiteral("Play Ne&xt...\tX"));
    EXPECT_EQ(player().FileName(), playing);
    player().finish();
    processEvents();
    EXPECT_EQ(player().FileName(), after);
}

TEST_F(ArrangeTest, RemoveSelectedKeepsThePlayingRowUntilStopped)
{
    startDefault();
    FrmMain& m = main();
    playingList();
    select({2, 3, 4});
    m.mnuRemoveSelected_Click();
    EXPECT_EQ(artists(), QStringList({"A", "C", "E", "F"}));
    EXPECT_EQ(numbers(), QStringList({"01", "02", "03", "04"}));
    EXPECT_EQ(rows().selectedRows(), QList<int>{2});
    EXPECT_EQ(m.CurrentTrack, 2);

    m.mnuStop_Click();
    m.tmrPosition_Timer();
    select({2, 4});
    rows().setSelectedItem(4);   // the current item: its place is selected afterwards
    m.mnuRemoveSelected_Click();
    EXPECT_EQ(artists(), QStringList({"A", "E"}));
    EXPECT_EQ(rows().selectedRows(), QList<int>{2});   // past the end: the last row
}

TEST_F(ArrangeTest, DeadAndDuplicateFilenamesReportWhatWentAndLogIt)
{
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    m.mnuRemoveAlDeadFilenames_Click();
    m.mnuRemoveDuplicateFilenames_Click();
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("No dead filenames were found within the playlist.\r\n\r\nNo items have been removed from the playlist.\r\n"));
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Remove Dead Filenames Information"));
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Information));
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("No duplicate filenames were found within the playlist.\r\n\r\nNo items have been removed from the playlist.\r\n"));
    EXPECT_FALSE(log().contains(QStringLiteral("removed:")));

    // Paths are one file only when equal as texts: of three rows naming /m/A.mp3 and one
    // naming /m/a.MP3 the two upper /m/A.mp3 rows go.
    const QString upper = file(1);
    const QString lower = upper.left(upper.lastIndexOf(u'/') + 1) + QStringLiteral("a.MP3");
    m.playlist_AddSong(QStringLiteral("dup"), QString(), QString(), upper);
    m.playlist_AddSong(QStringLiteral("other case"), QString(), QString(), lower);
    m.playlist_AddSong(QStringLiteral("last"), QString(), QString(), upper);
    QFile::remove(file(2));
    QFile::remove(file(3));
    m.mnuRemoveDuplicateFilenames_Click();
    EXPECT_EQ(artists(), QStringList({"B", "C", "other case", "last"}));
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("It has been detected that you had 2 duplicate filenames in the playlist.\r\n\r\nThese items have been removed.\r\n"));
    EXPECT_TRUE(log().contains(QStringLiteral("Duplicate filenames removed:  2.")));
    m.mnuRemoveAlDeadFilenames_Click();   // B, C and the other-case name have no file
    EXPECT_EQ(artists(), QStringList({"last"}));
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("It has been detected that you had 3 dead filenames in the playlist.\r\n\r\nThese items have been removed.\r\n"));
    EXPECT_TRUE(log().contains(QStringLiteral("Dead filenames removed:  3.")));
    EXPECT_EQ(numbers(), QStringList({"01"}));
    EXPECT_FALSE(m.StatusBarBusy);
}

TEST_F(ArrangeTest, PhysicallyDeleteTrashesOrDeletesOnlyTheFilesNotInThePlayer)
{
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C", "D"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    const QString a = file(1), b = file(2), c = file(3), d = file(4);
    player().setFileName(a);   // loaded, not playing: still the player's
    select({1, 2, 3});
    rows().setSelectedItem(1);
    m.mnuRemovePhysicallyDeleteSelected_Click();
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("The filename that you have selected from the list is being used by VELTRA.\r\n\r\n"
                                                        "This function will not continue.\r\n"));
    EXPECT_EQ(ui.messages().last().title, QStringLiteral("Physically Delete File Error"));

    rows().setSelectedItem(2);
    ui.msgAnswers.push_back(veltra::MsgResult::No);
    m.mnuRemovePhysicallyDeleteSelected_Click();
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("You are about to physically delete these files from your computer:\r\n\r\n")
                                             + b + QStringLiteral("\r\n") + c + QStringLiteral("\r\n\r\nDo you wish to continue?\r\n"));
    EXPECT_EQ(ui.messages().last().title, QStringLiteral("Physically Delete Files Confirmation"));
    EXPECT_EQ(ui.messages().last().buttons, int(veltra::MsgButtons::YesNo));
    EXPECT_EQ(rows().count(), 4);
    EXPECT_TRUE(QFile::exists(b));

    m.mnuRemovePhysicallyDeleteSelected_Click();   // Yes: to the trash by default
    EXPECT_EQ(artists(), QStringList({"A", "D"}));
    EXPECT_TRUE(QFile::exists(a));
    EXPECT_FALSE(QFile::exists(b));
    const QString trash = QString::fromUtf8(qgetenv("XDG_DATA_HOME")) + QStringLiteral("/Trash/files/");
    EXPECT_TRUE(QFile::exists(trash + QFileInfo(b).fileName()));
    EXPECT_TRUE(QFile::exists(trash + QFileInfo(c).fileName()));
    EXPECT_TRUE(log().contains(b + QStringLiteral(" was physically deleted from playlist.")));
    EXPECT_EQ(numbers(), QStringList({"01", "04"}));   // not renumbered

    // Deleted outright by the setting; a read-only file stays, and so do its row and the log.
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("SendMediaFilesToRecycleBin"), QStringLiteral("0"));
    addRow(QStringLiteral("E"), QStringLiteral("T"));
    const QString e = file(3);
    QFile(d).setPermissions(QFileDevice::ReadOwner);
    select({2, 3});
    m.mnuRemovePhysicallyDeleteSelected_Click();
    EXPECT_TRUE(QFile::exists(d));
    EXPECT_FALSE(QFile::exists(e));
    EXPECT_FALSE(QFile::exists(trash + QFileInfo(e).fileName()));
    EXPECT_EQ(artists(), QStringList({"A", "D"}));
    EXPECT_FALSE(log().contains(d + QStringLiteral(" was physically")));

    QFile::remove(file(2));
    QFile(d).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    select({2});
    m.mnuRemovePhysicallyDeleteSelected_Click();
    EXPECT_EQ(ui.messages().last().text, QStringLiteral("The filename that you have selected from the list does not exist.\r\n\r\n"
                                                        "This function will not continue.\r\n"));
}

TEST_F(ArrangeTest, SortOrdersAreTheListsOwnTextOrderAndAreLogged)
{
    startDefault();
    FrmMain& m = main();
    const char* songs[][3] = {{"b", "1999", "99:00"}, {"C", "2001", "100:00"}, {"a", "1980", "09:59"}, {"d", "", "10:05"}};
    for (const auto& s : songs) {
        addRow(QString::fromLatin1(s[0]), QStringLiteral("T"), QString::fromLatin1(s[1]));
        rows().setSubItem(rows().count(), PlaylistColumn::Length, QString::fromLatin1(s[2]));
    }
    m.mnuSortViaAcending_Click();
    m.mnuSortByYear_Click();
    EXPECT_EQ(artists(), QStringList({"d", "a", "b", "C"}));
    EXPECT_TRUE(log().contains(QStringLiteral("Sorting set to:  Ascending.\r\nSort mode set to:  Year.")));
    EXPECT_FALSE(m.mnuShuffleThePlaylist->isEnabled());
    m.mnuSortByLength_Click();
    EXPECT_EQ(artists(), QStringList({"a", "d", "C", "b"}));   // text order: "100:00" before "99:00"
    m.mnuSortByArtist_Click();   // letter case ignored
    EXPECT_EQ(artists(), QStringList({"a", "b", "C", "d"}));
    m.mnuDontSort_Click();   // the order stays, only sorting stops
    EXPECT_EQ(artists(), QStringList({"a", "b", "C", "d"}));
    EXPECT_FALSE(m.mnuSortByArtist->isEnabled());
    EXPECT_TRUE(m.mnuShuffleThePlaylist->isEnabled());
}

TEST_F(ArrangeTest, MovingCarriesOnlyTheMovedRowAndShuffleKeepsTheNumbers)
{
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C", "D", "E", "F"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    playRow(5);
    select({1, 2, 5});
    rows().setSelectedItem(5);
    m.mnuSelectedMoveUp_Click();
    EXPECT_EQ(m.CurrentTrack, 4);
    EXPECT_TRUE(rows().bold(4));
    EXPECT_FALSE(rows().bold(5));
    EXPECT_EQ(rows().selectedRows(), QList<int>{4});   // only the moved row
    EXPECT_TRUE(rows().multiSelect());
    EXPECT_EQ(numbers(), QStringList({"01", "02", "03", "04", "05", "06"}));
    controls_SelectItem(rows(), 5);
    m.mnuSelectedMoveUp_Click();   // row 5 over the playing row 4
    EXPECT_EQ(m.CurrentTrack, 5);
    EXPECT_EQ(artists(), QStringList({"A", "B", "C", "D", "E", "F"}));
    controls_SelectItem(rows(), 6);
    m.mnuSelectedMoveDown_Click();   // the last row stays
    controls_SelectItem(rows(), 1);
    m.mnuSelectedMoveUp_Click();   // the first row stays
    EXPECT_EQ(artists(), QStringList({"A", "B", "C", "D", "E", "F"}));

    // Stopped: moving the current row paints every row plainly.
    m.mnuStop_Click();
    m.tmrPosition_Timer();
    controls_SelectItem(rows(), 5);
    m.mnuSelectedMoveDown_Click();
    for (int r = 1; r <= 6; ++r) EXPECT_FALSE(rows().bold(r)) << r;

    playRow(2);
    const QString playing = file(2);
    QStringList before;
    for (int r = 1; r <= 6; ++r) before.append(rows().text(r) + file(r));
    math::seed(11);
    m.mnuShuffleThePlaylist_Click();
    QStringList after;
    for (int r = 1; r <= 6; ++r) after.append(rows().text(r) + file(r));
    EXPECT_NE(after, before);
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);   // each row kept its old "No."
    EXPECT_EQ(file(m.CurrentTrack), playing);
    EXPECT_EQ(rows().selectedRows(), QList<int>{m.CurrentTrack});
    EXPECT_TRUE(log().contains(QStringLiteral("Playlist was shuffled at ")));

    rows().clear();
    addRow(QStringLiteral("Solo"), QStringLiteral("T"));
    m.mnuShuffleThePlaylist_Click();
    EXPECT_EQ(artists(), QStringList({"Solo"}));
}

// ---- the lock ----------------------------------------------------------------------------------------------

TEST_F(ArrangeTest, LockSetsItsTableAndUnlockGivesItBack)
{
    settings_WriteValue(QStringLiteral("Appearance"), QStringLiteral("BackgroundColour"), QStringLiteral("12648384"));   // pale green
    startDefault();
    FrmMain& m = main();
    FrmMenus& p = menus();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    addRow(QStringLiteral("B"), QStringLiteral("T"));
    m.tmrWindowUpdate_Timer();
    auto button = [&m](const char* key) { return m.toolbarButton(QString::fromLatin1(key)); };
    // Everything the lock touches, with the state it leaves while locked (true: enabled).
    const std::pair<QAction*, bool> table[] = {
        {m.mnuOpenMediaLibrary, false}, {m.mnuOpenCDPlayer, false}, {m.mnuPlaylists->menuAction(), false},
        {m.mnuAddFiles, false}, {m.mnuAddPlaylist, false}, {m.mnuAddLocation, false}, {m.mnuAddDirectory, false},
        {m.mnuOpenPlaylist, false}, {m.mnuOpenMood->menuAction(), false}, {m.mnuOpenBookmark->menuAction(), false},
        {m.mnuOptions->menuAction(), false}, {m.mnuSwitchToMiniMode, false}, {m.mnuPreferences, false}, {m.mnuTracking, false},
        {m.mnuRecentMediaFiles->menuAction(), false}, {m.mnuRecentPlaylists->menuAction(), false}, {m.mnuEdit->menuAction(), false},
        {m.mnuPrevious, false}, {m.mnuPlay, true}, {m.mnuRandom, false}, {m.mnuNextTrack, false}, {m.mnuNextTrackAdvanced, false},
        {m.mnuSavePlaylistAs, false}, {m.mnuSave, false}, {m.mnuPrint, true}, {m.mnuJump->menuAction(), false},
        {m.mnuSelected->menuAction(), false}, {m.mnuSaveAsDefault, false}, {m.mnuEntries->menuAction(), false}, {m.mnuNew, false},
        {m.mnuDisplay->menuAction(), false}, {m.mnuSort->menuAction(), false}, {p.mnuPrevious, false}, {p.mnuPlay, true},
        {p.mnuStop, true}, {p.mnuRandom, false}, {p.mnuNextTrack, false}, {p.mnuNextTrackAdvanced, false},
        {button("Previous"), false}, {button("Play"), true}, {button("Random"), false}, {button("Next"), false},
        {button("NextAdvanced"), false}, {button("PreviousPlaylist"), false}, {button("NextPlaylist"), false}, {button("AddFiles"), false},
    };
    const std::pair<QWidget*, bool> controls[] = {{m.lstvPlaylist, false}, {m.cmbPlaylists, false}, {m.lblOptions, false}};
    m.mnuOpenMediaLibrary_Click();
    ASSERT_TRUE(forms().isLoaded<FrmMediaLibrary>() && forms().get<FrmMediaLibrary>().isVisible());

    clickInMenu(m.mnuArrange, m.mnuLockPlaylist);
    EXPECT_TRUE(m.mnuLockPlaylist->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist")), QStringLiteral("1"));
    EXPECT_FALSE(forms().isLoaded<FrmMediaLibrary>() && forms().get<FrmMediaLibrary>().isVisible());
    EXPECT_EQ(m.lstvPlaylist->backColour(), syscolour::ButtonFace);
    EXPECT_EQ(m.cmbPlaylists->palette().color(QPalette::Disabled, QPalette::Base), syscolour::toQColor(syscolour::ButtonFace));
    for (int tick = 0; tick < 2; ++tick) {
        for (const auto& [item, on] : table) EXPECT_EQ(item->isEnabled(), on) << item->objectName().toStdString() << " tick " << tick;
        for (const auto& [w, on] : controls) EXPECT_EQ(w->isEnabled(), on) << w->objectName().toStdString();
        m.tmrWindowUpdate_Timer();   // the timer leaves a locked window alone
    }
    // Row commands reached by keys do nothing while locked.
    select({1});
    for (auto command : {&FrmMain::mnuCut_Click, &FrmMain::mnuRemoveSelected_Click, &FrmMain::mnuSelectedMoveDown_Click,
                         &FrmMain::mnuPaste_Click, &FrmMain::mnuSelectedCrop_Click})
        (m.*command)();
    EXPECT_EQ(artists(), QStringList({"A", "B"}));

    clickInMenu(m.mnuArrange, m.mnuLockPlaylist);
    EXPECT_FALSE(m.mnuLockPlaylist->isChecked());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist")), QStringLiteral("0"));
    EXPECT_EQ(m.lstvPlaylist->backColour(), 12648384u);   // the custom colour, not white
    EXPECT_FALSE(m.mnuNextTrack->isEnabled());             // given back by the timer, not at once
    m.tmrWindowUpdate_Timer();
    for (const auto& [item, on] : table) EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    for (const auto& [w, on] : controls) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(ArrangeTest, StoredLockComesBackAtStartUnlessTheListIsEmpty)
{
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist"), QStringLiteral("1"));
    writeFile(QStringLiteral("Playlists/default.spp"), "\"01\"\r\n\"A\"\r\n\"T\"\r\n\"\"\r\n\"Play\"\r\n\"\"\r\n\"/m/a.mp3\"\r\n");
    startDefault();
    EXPECT_TRUE(main().mnuLockPlaylist->isChecked());
    EXPECT_FALSE(main().lstvPlaylist->isEnabled());
    EXPECT_FALSE(main().cmbPlaylists->isEnabled());
    forms().unloadAll();

    // An empty playlist cannot stay locked: the first tick releases it.
    QFile::remove(home(QStringLiteral("Playlists/default.spp")));
    startDefault();
    EXPECT_FALSE(main().mnuLockPlaylist->isChecked());
    EXPECT_FALSE(main().mnuLockPlaylist->isEnabled());
    EXPECT_TRUE(main().lstvPlaylist->isEnabled());
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist")), QStringLiteral("0"));
}

// ---- through the running program --------------------------------------------------------------------------

// Keys and menu clicks on the shown window while a song plays and every timer runs.
TEST_F(ArrangeTest, KeysAndMenusArrangeWhileASongPlays)
{
    // No now-playing popup: the test platform would make it the active window.
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("ShowCurrentSongAlerts"), QStringLiteral("0"));
    startDefault();
    FrmMain& m = main();
    for (const char* a : {"A", "B", "C", "D", "E"}) addRow(QString::fromLatin1(a), QStringLiteral("T"));
    for (QTimer* t : {m.tmrPosition, m.tmrWindowUpdate}) t->start();
    m.show();
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    m.lstvPlaylist->setFocus();
    controls_SelectItem(rows(), 3);
    QTest::keyClick(m.lstvPlaylist, Qt::Key_Return);   // plays the row
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.PlayerState == FrmMain::Playback::Playing; }, 2000));   // the position timer saw it
    const QString playing = file(3);

    select({1, 2});
    QTest::keyClick(m.lstvPlaylist, Qt::Key_X, Qt::ControlModifier);
    QTest::qWait(60);
    EXPECT_EQ(artists(), QStringList({"C", "D", "E"}));
    EXPECT_EQ(file(m.CurrentTrack), playing);
    QTest::keyClick(m.lstvPlaylist, Qt::Key_V, Qt::ControlModifier);
    QTest::qWait(60);
    EXPECT_EQ(artists(), QStringList({"C", "D", "E", "A", "B"}));

    select({1, 4});   // the playing row stays, the other goes
    QTest::keyClick(m.lstvPlaylist, Qt::Key_Delete);
    QTest::qWait(60);
    EXPECT_EQ(artists(), QStringList({"C", "D", "E", "B"}));
    EXPECT_EQ(rows().selectedRows(), QList<int>{1});

    controls_SelectItem(rows(), 2);
    QTest::qWait(60);   // the update timer enables Move Up for the new current row
    clickInMenu(m.mnuSort, m.mnuSelectedMoveUp);
    EXPECT_EQ(artists(), QStringList({"D", "C", "E", "B"}));
    EXPECT_EQ(m.CurrentTrack, 2);
    EXPECT_TRUE(rows().bold(2));
    m.activateWindow();   // the test platform leaves the closed menu the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    controls_SelectItem(rows(), 1);
    QTest::qWait(60);
    QTest::keyClick(m.lstvPlaylist, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(artists(), QStringList({"C", "D", "E", "B"}));
    EXPECT_EQ(m.CurrentTrack, 1);

    // Locked by its key: the edit keys do nothing, and the song still moves on.
    QTest::keyClick(&m, Qt::Key_L, Qt::ControlModifier);
    QTest::qWait(60);
    ASSERT_TRUE(m.mnuLockPlaylist->isChecked());
    QTest::keyClick(&m, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&m, Qt::Key_Delete);
    QTest::keyClick(&m, Qt::Key_Up, Qt::AltModifier);
    QTest::qWait(60);
    EXPECT_EQ(artists(), QStringList({"C", "D", "E", "B"}));
    player().finish();
    QTest::qWait(60);
    EXPECT_EQ(player().FileName(), file(2));
    QTest::keyClick(&m, Qt::Key_L, Qt::ControlModifier);
    QTest::qWait(60);
    EXPECT_TRUE(m.lstvPlaylist->isEnabled());
    EXPECT_TRUE(m.mnuNextTrack->isEnabled());
}

} // namespace
