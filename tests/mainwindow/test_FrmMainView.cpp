// The view and behaviour switches, the font size and centring, clicked in the real menus.
#include "mainwindow/MainWindowFixture.h"

#include "common/ListView.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "library/FrmLyrics.h"
#include "platform/TaskbarEntry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>
#include <QToolBar>

#include <functional>

namespace {

QString setting(const char* key) { return settings_ReadValue(QStringLiteral("Settings"), QString::fromLatin1(key), QStringLiteral("?")); }

class ViewSwitchTest : public MainWindowTest {};

TEST_F(ViewSwitchTest, EachToggleFlipsItsMarkWritesItsKeyAndTakesEffect)
{
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AskConfirmationToUpdatePlaylist"), QStringLiteral("0"));
    startDefault();
    FrmMain& m = main();
    m.show();
    m.resize(1000, 500);   // room for the file-name column
    struct Toggle {
        QMenu* menu;
        QAction* item;
        const char* key;
        std::function<bool()> effect;   // the state the window shows; empty: none of its own
    };
    const Toggle toggles[] = {
        {m.mnuWindow, m.mnuAlwaysOnTop, "AlwaysOnTop", [&] { return windows_IsAlwaysOnTop(&m); }},
        {m.mnuWindow, m.mnuHideInTheTaskManager, "HideInTheTaskManager", [&] { return taskbarentry::isHidden(&m); }},
        {m.mnuWindow, m.mnuShowToolbar, "ShowToolbar", [&] { return m.cbToolbar->isVisible() && m.cbControls->isVisible(); }},
        {m.mnuWindow, m.mnuShowStatusBar, "ShowStatusBar", [&] { return m.sbStatusBar->isVisible(); }},
        {m.mnuWindow, m.mnuShowPlaylistHeaders, "ShowPlaylistHeaders", [&] { return !m.lstvPlaylist->hideColumnHeaders(); }},
        {m.mnuWindow, m.mnuShowFilenamesColumn, "ShowFilenamesColumn", [&] { return m.lstvPlaylist->columnWidthTwips(6) > 0; }},
        {m.mnuWindows, m.mnuWindowsShowEachSongAsItsPlayed, "ShowCurrentSongAlerts", {}},
        {m.mnuWindows, m.mnuWindowsShowLyricsWhenAvailable, "ShowLyricsWhenAvailable", {}},
        {m.mnuWindows, m.mnuWindowsDisableGlobalHotkeys, "DisableGlobalHotkeys", [&] { return !m.tmrMediaKeys->isActive(); }},
        {m.mnuEntries, m.mnuTagsUseID3v2Tags, "UseID3v2Tags", {}},
    };
    m.tmrMediaKeys->start();
    for (const Toggle& t : toggles) {
        const bool before = t.item->isChecked();
        for (bool on : {!before, before}) {
            clickInMenu(t.menu, t.item);
            processEvents();
            EXPECT_EQ(t.item->isChecked(), on) << t.key;
            EXPECT_EQ(setting(t.key), on ? QStringLiteral("1") : QStringLiteral("0")) << t.key;
            if (t.effect) {
                EXPECT_EQ(t.effect(), on) << t.key;
            }
        }
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(ViewSwitchTest, PairItemsTakeTheMarkAndWriteBothKeysFirstToLast)
{
    startDefault();
    FrmMain& m = main();
    struct Case {
        QMenu* menu;
        QAction* first;
        const char* firstKey;
        QAction* second;
        const char* secondKey;
    };
    const Case pairs[] = {
        {m.mnuAppearance, m.mnuStatusBarShowTimeElapsed, "ShowTimeElapsed", m.mnuStatusBarShowTimeRemaining, "ShowTimeRemaining"},
        {m.mnuKeys, m.mnuKeysUseAsArtistFindingKeys, "KeysUseAsArtistFindingKeys", m.mnuKeysUseAsShortcuts, "KeysUseAsShortcuts"},
        {m.mnuEntries, m.mnuTagsShowTagsAsFilesAreAdded, "TagsShowTagsAsFilesAreAdded", m.mnuTagsShowTagsAsFilesArePlayed,
         "TagsShowTagsAsFilesArePlayed"},
    };
    for (const Case& p : pairs) {
        // Chosen twice: the same mark and the same values both times.
        for (QAction* chosen : {p.second, p.second, p.first, p.first}) {
            clickInMenu(p.menu, chosen);
            EXPECT_EQ(p.first->isChecked(), chosen == p.first) << p.firstKey;
            EXPECT_EQ(p.second->isChecked(), chosen == p.second) << p.secondKey;
            EXPECT_EQ(setting(p.firstKey), chosen == p.first ? QStringLiteral("1") : QStringLiteral("0"));
            EXPECT_EQ(setting(p.secondKey), chosen == p.second ? QStringLiteral("1") : QStringLiteral("0"));
        }
        // Keys new to the file are appended in the order they were written.
        const QByteArray ini = readFile(home(QStringLiteral("settings.ini")));
        EXPECT_LT(ini.indexOf(QByteArray(p.firstKey) + '='), ini.indexOf(QByteArray(p.secondKey) + '=')) << p.firstKey;
    }
}

TEST_F(ViewSwitchTest, ToolbarOffAndOnKeepsThePlaylistRightBelowTheBands)
{
    startDefault();
    FrmMain& m = main();
    m.show();
    processEvents();
    auto bottomMeetsStatusBar = [&] { return m.lstvPlaylist->geometry().bottom() + 1 == m.sbStatusBar->y(); };
    clickInMenu(m.mnuWindow, m.mnuShowToolbar);
    processEvents();
    EXPECT_EQ(m.lstvPlaylist->y(), 0);
    EXPECT_TRUE(bottomMeetsStatusBar());
    EXPECT_EQ(m.lstvPlaylist->width(), m.picClient->width());

    // Taller bands while hidden: the playlist still starts where the second band ends.
    const int before = m.cbToolbar->sizeHint().height();
    m.cbToolbar->findChild<QWidget*>(QStringLiteral("picSliders"))->setMinimumHeight(before + 17);
    ASSERT_GT(m.cbToolbar->sizeHint().height(), before);
    clickInMenu(m.mnuWindow, m.mnuShowToolbar);
    processEvents();
    EXPECT_EQ(m.cbToolbar->y(), 0);
    EXPECT_EQ(m.cbControls->y(), m.cbToolbar->height());
    EXPECT_EQ(m.lstvPlaylist->y(), m.cbToolbar->height() + m.cbControls->height());
    EXPECT_TRUE(bottomMeetsStatusBar());

    // Without the status bar the playlist reaches the bottom.
    clickInMenu(m.mnuWindow, m.mnuShowStatusBar);
    processEvents();
    EXPECT_EQ(m.lstvPlaylist->geometry().bottom() + 1, m.picClient->height());
}

TEST_F(ViewSwitchTest, ToolbarHiddenAtStartPutsThePlaylistAtTheTop)
{
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("ShowToolbar"), QStringLiteral("0"));
    startDefault();
    FrmMain& m = main();
    EXPECT_FALSE(m.mnuShowToolbar->isChecked());
    EXPECT_FALSE(m.cbToolbar->isVisibleTo(&m));
    EXPECT_EQ(m.lstvPlaylist->y(), 0);
}

TEST_F(ViewSwitchTest, FontGrowsAndShrinksByTwoWithinItsLimitsAndIsSavedOnExit)
{
    startDefault();
    FrmMain& m = main();
    addRow(QStringLiteral("A"), QStringLiteral("T"));
    m.tmrWindowUpdate_Timer();   // the Display menu is enabled while the playlist has rows
    m.show();
    struct Case {
        double from;
        int key;   // Qt::Key_Right grows, Qt::Key_Left shrinks (with Alt)
        double to;
    };
    const Case cases[] = {{39, Qt::Key_Right, 41}, {40, Qt::Key_Right, 40}, {7, Qt::Key_Left, 5}, {6, Qt::Key_Left, 6}, {8, Qt::Key_Right, 10}};
    for (const Case& c : cases) {
        QFont f = m.lstvPlaylist->font();
        f.setPointSizeF(c.from);
        m.lstvPlaylist->setFont(f);
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::AltModifier);
        QApplication::sendEvent(&m, &press);   // the window's own keys run the menu item
        EXPECT_EQ(m.lstvPlaylist->font().pointSizeF(), c.to) << c.from;
    }
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Appearance"), QStringLiteral("Fontsize"), QStringLiteral("none")), QStringLiteral("none"));
    m.mnuExit_Click();
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Appearance"), QStringLiteral("Fontsize"), QString()), QStringLiteral("10"));
}

TEST_F(ViewSwitchTest, UseID3v2TagsAsksBeforeReadingTheRowsAgain)
{
    startDefault();
    FrmMain& m = main();
    const QString path = home(QStringLiteral("v2.mp3"));
    ASSERT_TRUE(mp3maker::makeMp3(path, {.artist = QStringLiteral("Tagged Artist"), .title = QStringLiteral("Tagged"), .id3v2 = true}));
    m.playlist_AddSong(QStringLiteral("Old"), QStringLiteral("Old"), QString(), path);

    ui.msgAnswers.push_back(veltra::MsgResult::No);
    clickInMenu(m.mnuEntries, m.mnuTagsUseID3v2Tags);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Update Playlist Confirmation"));
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("The playlist setting has not been updated and saved.\r\n\r\nWould you like all of the "
                                                    "media files to be updated in the playlist to reflect this change?\r\n"));
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Exclamation));
    EXPECT_EQ(ui.messages()[0].buttons, int(veltra::MsgButtons::YesNo));
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("Old"));   // No: the rows stay, the switch is saved
    EXPECT_EQ(setting("UseID3v2Tags"), QStringLiteral("1"));

    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("AskConfirmationToUpdatePlaylist"), QStringLiteral("0"));
    clickInMenu(m.mnuEntries, m.mnuTagsUseID3v2Tags);   // off: rows read again at once
    clickInMenu(m.mnuEntries, m.mnuTagsUseID3v2Tags);   // on
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(rows().subItem(1, PlaylistColumn::Artist), QStringLiteral("Tagged Artist"));
}

TEST_F(ViewSwitchTest, MessengerNoticeOnlyWhenSwitchedOn)
{
    startDefault();
    FrmMain& m = main();
    clickInMenu(m.mnuWindows, m.mnuMessengerShowSongsBeingPlayed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Personal Status Message"));
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("Updating the 'Personal Status Message' will work only if you enable (Turn on \"What I'm Listening To\") within "
                             "MSN Messenger/Windows Live Messenger.\r\n\r\nYou must be using MSN Messenger 7+ (or Windows Live Messenger) "
                             "for this function to work.\r\n"));
    EXPECT_EQ(ui.messages()[0].icon, int(veltra::MsgIcon::Exclamation));
    clickInMenu(m.mnuWindows, m.mnuMessengerShowSongsBeingPlayed);
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(setting("MessengerShowSongsBeingPlayed"), QStringLiteral("0"));
}

TEST_F(ViewSwitchTest, LyricsSwitchedOnPassTheLoadedFileOnlyWhileASongIsLoaded)
{
    startDefault();
    FrmMain& m = main();
    FrmLyrics& lyrics = forms().get<FrmLyrics>();
    // A file without lyrics closes an open lyrics window; a file never passed leaves it open.
    lyrics.LyricsIsOpen = true;
    clickInMenu(m.mnuWindows, m.mnuWindowsShowLyricsWhenAvailable);   // on, stopped
    EXPECT_TRUE(lyrics.LyricsIsOpen);
    clickInMenu(m.mnuWindows, m.mnuWindowsShowLyricsWhenAvailable);   // off
    EXPECT_FALSE(lyrics.LyricsIsOpen);

    addRow(QStringLiteral("A"), QStringLiteral("T"));
    playRow(1);
    m.mnuPause_Click();
    m.tmrPosition_Timer();
    ASSERT_EQ(m.PlayerState, FrmMain::Playback::Paused);
    lyrics.LyricsIsOpen = true;
    clickInMenu(m.mnuWindows, m.mnuWindowsShowLyricsWhenAvailable);   // on, paused
    EXPECT_FALSE(lyrics.LyricsIsOpen);
}

TEST_F(ViewSwitchTest, CenterWindowStoresTheNewPlace)
{
    startDefault();
    FrmMain& m = main();
    m.show();
    m.setGeometry(0, 0, 300, 200);
    clickInMenu(m.mnuWindow, m.mnuReCenterWindow);
    EXPECT_NEAR(vb::PixelsToTwips(m.x()), 1500, 15);   // the margin from the screen's edges
    EXPECT_NEAR(vb::PixelsToTwips(m.x() + m.width()), windows::screenWidthTwips() - 1500, 15);
    EXPECT_EQ(settings_ReadValue(QStringLiteral("Position_MainWindow"), QStringLiteral("Window_left"), QString()).toDouble(),
              vb::PixelsToTwips(m.x()));
}

} // namespace
