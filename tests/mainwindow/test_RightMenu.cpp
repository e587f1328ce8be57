// The playlist's right-click menu used with the mouse, its own commands, the pop-up pictures
// and the mini-mode menu.
#include "mainwindow/MainWindowFixture.h"

#include "common/modSettings.h"
#include "extras/FrmMini.h"
#include "playlisttools/FrmJump.h"

#include <QApplication>
#include <QClipboard>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QtTest/QTest>

class RightMenuTest : public MainWindowTest {
protected:
    void threeRows()
    {
        startDefault();
        addRow("A", "T", "1991");
        addRow("B", "U", "1992");
        addRow("C", "V", "1993");
        main().tmrWindowUpdate_Timer();   // the pop-up items follow the main window's enabling
    }
    // A left click on the item of an open menu, through the event loop; a submenu opens.
    static void choose(QMenu* menu, QAction* item)
    {
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) << menu->objectName().toStdString();
        QTest::mouseMove(menu, menu->actionGeometry(item).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
};

TEST_F(RightMenuTest, ARightClickOnARowSelectsItAndItsMenuCopiesItsTag)
{
    threeRows();
    FrmMain& m = main();
    FrmMenus& p = menus();
    m.resize(700, 500);
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    QGuiApplication::clipboard()->setText("before");

    QWidget* viewport = m.lstvPlaylist->viewport();
    const QPoint row2 = m.lstvPlaylist->visualRect(rows().index(1, 1)).center();
    QTest::mouseClick(viewport, Qt::RightButton, {}, row2);
    choose(p.mnuRightMenu, p.mnuOptions->menuAction());
    choose(p.mnuOptions, p.mnuSelectedCopyTAG);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.mnuRightMenu->isVisible(); }, 2000));
    EXPECT_EQ(rows().selectedRows(), QList<int>({2}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "B - U");

    // Three rows: three lines, the last without a line break; none: the clipboard is kept.
    for (int r = 1; r <= 3; ++r) rows().setSelected(r, true);
    p.mnuSelectedCopyTAG->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "A - T\nB - U\nC - V");
    rows().clearSelection();
    p.mnuSelectedCopyTAG->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "A - T\nB - U\nC - V");

    m.hide();
}

TEST_F(RightMenuTest, MoreOnThisOpensJumpToMediaSearchedAndRefusesSeveralRows)
{
    startDefault();
    // Files that are not MPEG audio are searched by their columns.
    const char* songs[][3] = {{"A", "T", "1991"}, {"B", "U", "1992"}, {"C", "V", "1993"}, {"Bea", "W", "1992"}};
    for (const auto& [artist, title, year] : songs) main().playlist_AddSong(artist, title, year, QStringLiteral("/m/%1.ogg").arg(title));
    main().tmrWindowUpdate_Timer();
    // One row: the dialog comes up with its text, its field and the results listed.
    const std::tuple<QAction*, const char*, int, int> cases[] = {
        {menus().mnuMoreOnThisArtist, "B", 0, 1},   // "All" finds the artist alone, not "Bea"
        {menus().mnuMoreOnThisYear, "1992", 4, 2},
    };
    for (const auto& [item, text, field, hits] : cases) {
        controls_SelectItem(rows(), 2);
        bool shown = false;
        ui.modalHandlers.push_back([&, text = text, field = field, hits = hits](QObject* form) {
            auto* jump = qobject_cast<FrmJump*>(form);
            ASSERT_NE(jump, nullptr);
            shown = true;
            EXPECT_EQ(jump->cmbSearch->currentText(), text);
            EXPECT_EQ(jump->currentField(), field);
            EXPECT_EQ(jump->lstvItems->items().count(), hits);
        });
        item->trigger();
        EXPECT_TRUE(shown);
        EXPECT_FALSE(forms().isLoaded<FrmJump>());
    }

    rows().setSelected(1, true);
    for (QAction* item : {menus().mnuMoreOnThisArtist, menus().mnuMoreOnThisYear}) {
        ui.clear();
        item->trigger();
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_EQ(ui.messages()[0].title, "Error With Selected Songs");
        EXPECT_EQ(ui.messages()[0].text, "You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n");
        EXPECT_EQ(ui.count("modal"), 0);
    }
    rows().clearSelection();
    ui.clear();
    menus().mnuMoreOnThisArtist->trigger();
    menus().mnuSelectedCopyTAG->trigger();
    EXPECT_TRUE(ui.calls.isEmpty());

    // Advanced opens the Advanced Queue.
    menus().mnuAdvanced->trigger();
    ASSERT_EQ(ui.count("modal"), 1);
    EXPECT_EQ(ui.calls.last().title, "FrmQueue");

    // Play All on an empty list shows nothing and changes nothing.
    main().mnuNew_Click();
    ui.clear();
    menus().mnuPlayAll->trigger();
    // Nor do the new-playlist tools open.
    main().mnuGeneratePlaylist_Click();
    main().mnuUseRandomSongsForPlaylist_Click();
    EXPECT_TRUE(ui.calls.isEmpty());
}

TEST_F(RightMenuTest, TransportItemsAndThePlaylistsPlayItemShowTheMainWindowsPictures)
{
    startDefault();
    FrmMain& m = main();
    FrmMenus& p = menus();
    const std::pair<QAction*, QAction*> same[] = {
        {p.mnuPrevious, m.mnuPrevious}, {p.mnuPlay, m.mnuPlay},   {p.mnuStop, m.mnuStop},
        {p.mnuNextTrackAdvanced, m.mnuNextTrackAdvanced},         {p.mnuExit, m.mnuExit}, {p.mnuPlay2, m.mnuPlay},
    };
    for (const auto& [item, source] : same) {
        ASSERT_FALSE(item->icon().isNull()) << item->objectName().toStdString();
        EXPECT_EQ(item->icon().pixmap(16).toImage(), source->icon().pixmap(16).toImage()) << item->objectName().toStdString();
    }
    EXPECT_TRUE(p.mnuOpen->icon().isNull());
    EXPECT_TRUE(p.mnuPlayNext->icon().isNull());
}

// What a menu draws for each item: the caption, and after a TAB what the key column shows.
class DrawnMenuItems : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const override
    {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option); item && element == CE_MenuItem)
            texts << item->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QStringList texts;
};

TEST_F(RightMenuTest, TheTrayMenuShowsTheWindowsKeysInItsKeyColumn)
{
    threeRows();
    QMenu* tray = menus().mnuSystemTray;
    DrawnMenuItems style;
    tray->setStyle(&style);
    tray->resize(tray->sizeHint());
    tray->grab();
    tray->setStyle(nullptr);
    for (const char* text : {"Pre&vious\tV", "&Rewind\tR", "&Play\tP", "Pa&use\tU", "&Stop\tS", "Rando&m\tM", "&Fast Forward\tF",
                             "&Next\tN", "Next (&Advanced)\tA", "&Open", "E&xit"})
        EXPECT_TRUE(style.texts.contains(QString::fromUtf8(text))) << text << " not in " << style.texts.join(u'|').toStdString();
}

TEST_F(RightMenuTest, MiniModeMenuFlipsItsMarksWritesThemAndMinimises)
{
    startDefault();
    addRow("A", "T");
    main().mnuSwitchToMiniMode_Click();
    ASSERT_TRUE(forms().isLoaded<FrmMini>());
    FrmMini& mini = forms().get<FrmMini>();
    FrmMenus& p = menus();
    for (int round = 0; round < 2; ++round) {
        const bool on = round == 0;
        clickInMenu(p.mnuWindow, p.mnuAlwaysOnTop);
        clickInMenu(p.mnuWindow, p.mnuLockPosition);
        EXPECT_EQ(p.mnuAlwaysOnTop->isChecked(), on);
        EXPECT_EQ(p.mnuLockPosition->isChecked(), on);
        EXPECT_EQ(mini.PositionLocked(), on);
        EXPECT_EQ(settings_ReadValue("MiniModeSettings", "AlwaysOnTop"), on ? "1" : "0");
        EXPECT_EQ(settings_ReadValue("MiniModeSettings", "LockPosition"), on ? "1" : "0");
    }
    clickInMenu(p.mnuSystemMenu, p.mnuMinimize);
    EXPECT_TRUE(mini.windowState() & Qt::WindowMinimized);
}
