// The program's windows as a keyboard user and a user of a small screen meet them: squeezed to
// their least size, as a 1024 by 600 screen does, dialogs fit under a title bar and keep their
// controls apart; opened, their lists show whole rows; Tab walks the preferences and the tag editor in the order their boxes stand;
// sizes kept from a larger monitor fit the screen.
#include "support/StartupFixture.h"

#include "common/ListView.h"

#include "extras/FrmAbout.h"
#include "extras/FrmCheckForUpdates.h"
#include "library/FrmEditMoods.h"
#include "library/FrmEditTag.h"
#include "library/FrmLyrics.h"
#include "player/FrmVideo.h"
#include "common/modSettings.h"
#include "library/FrmMassRenamer.h"
#include "library/FrmMassTagEditor.h"
#include "library/FrmMoveToFolder.h"
#include "library/FrmRename.h"
#include "playlisttools/FrmAddLocation.h"
#include "playlisttools/FrmEditBookmarks.h"
#include "playlisttools/FrmGeneratePlaylist.h"
#include "playlisttools/FrmJump.h"
#include "playlisttools/FrmJumpToNumber.h"
#include "playlisttools/FrmJumpToTime.h"
#include "playlisttools/FrmManagePlaylists.h"
#include "playlisttools/FrmQueue.h"
#include "playlisttools/FrmRandomSongsPlaylist.h"
#include "preferences/FrmOptions.h"
#include "preferences/FrmPreferences.h"
#include "startup/Forms.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest/QTest>

#include <functional>
#include <vector>

namespace {

struct DialogCase {
    const char* name;
    std::function<QWidget*()> load;
    std::function<void()> unload;
};

template <class F>
DialogCase dialog(const char* name)
{
    return {name, [] { return static_cast<QWidget*>(&forms().fresh<F>()); }, [] { forms().unload<F>(); }};
}

// Two visible controls of one panel drawn over each other, as "a over b".
QStringList overlaps(QWidget* window)
{
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window)) continue;
        const QList<QWidget*> siblings = w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* other : siblings) {
            if (other <= w || !other->isVisibleTo(window) || other->isWindow()) continue;
            const QRect both = w->geometry().intersected(other->geometry());
            if (both.width() > 2 && both.height() > 2) found << w->objectName() + " over " + other->objectName();
        }
    }
    return found;
}

// Every dialog the program opens from its menus.
std::vector<DialogCase> dialogs()
{
    return {
        dialog<FrmJump>("Jump To Media"),           dialog<FrmJumpToTime>("Jump To Time"),
        dialog<FrmJumpToNumber>("Jump To Track"),   dialog<FrmGeneratePlaylist>("Generate"),
        dialog<FrmRandomSongsPlaylist>("Random"),   dialog<FrmManagePlaylists>("Manage Playlists"),
        dialog<FrmEditBookmarks>("Bookmarks"),      dialog<FrmAddLocation>("Add Location"),
        dialog<FrmEditMoods>("Edit Moods"),         dialog<FrmQueue>("Advanced Queue"),
        dialog<FrmPreferences>("Preferences"),      dialog<FrmOptions>("Options"),
        dialog<FrmCheckForUpdates>("Updates"),      dialog<FrmAbout>("About"),
        dialog<FrmEditTag>("Edit ID3 Tag"),         dialog<FrmMoveToFolder>("Move To Folder"),
        dialog<FrmRename>("Rename Song"),           dialog<FrmMassTagEditor>("Edit All Tags"),
        dialog<FrmMassRenamer>("Mass Renamer"),
    };
}

} // namespace

class DialogsForKeyboardAndSmallScreens : public StartupFixture {};

TEST_F(DialogsForKeyboardAndSmallScreens, DialogsFitTheScreenWithoutControlsDrawnOverEachOther)
{
    start();
    const int smallScreen = 600 - 30;   // the height left under a window manager's title bar
    for (const DialogCase& c : dialogs()) {
        SCOPED_TRACE(c.name);
        QWidget* w = c.load();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        w->resize(w->minimumSize());
        QApplication::processEvents();
        // A dialog of fixed size (Jump To Media) is not squeezed: it opens fitted to the
        // screen, down to the least size of its controls.
        const bool fixed = w->minimumSize() == w->maximumSize() && w->layout();
        EXPECT_LE(fixed ? w->layout()->totalMinimumSize().height() : w->height(), smallScreen);
        EXPECT_EQ(overlaps(w), QStringList());
        w->hide();
        c.unload();
    }
}

// Opened with more rows than it has room for, a list shows whole rows, none cut at its foot.
TEST_F(DialogsForKeyboardAndSmallScreens, ListsShowWholeRowsAtTheSizeTheDialogOpensWith)
{
    start();
    for (const DialogCase& c : dialogs()) {
        SCOPED_TRACE(c.name);
        QWidget* w = c.load();
        for (ListView* list : w->findChildren<ListView*>())
            for (int i = 0; i < 60; ++i) list->items().add({QStringLiteral("%1").arg(i), QStringLiteral("Artist"), QStringLiteral("Title")});
        for (QListWidget* list : w->findChildren<QListWidget*>())
            for (int i = list->count(); i < 60; ++i) list->addItem(QStringLiteral("Item %1").arg(i));
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        for (QAbstractItemView* list : w->findChildren<QAbstractItemView*>()) {
            if (qobject_cast<QHeaderView*>(list) || list->window() != w || !list->isVisible() || !list->model() || list->model()->rowCount() == 0) continue;
            if (qobject_cast<QListView*>(list) && static_cast<QListView*>(list)->isWrapping()) continue;   // a grid, not rows
            SCOPED_TRACE(list->objectName().toStdString());
            const int row = list->visualRect(list->model()->index(0, 0)).height();
            ASSERT_GT(row, 0);
            EXPECT_EQ(list->viewport()->height() % row, 0) << list->viewport()->height() << " / " << row;
        }
        w->hide();
        c.unload();
    }
}

TEST_F(DialogsForKeyboardAndSmallScreens, TabWalksThePreferencesCheckBoxesTopToBottom)
{
    start();
    FrmPreferences& prefs = forms().fresh<FrmPreferences>();
    prefs.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&prefs));
    // Each section's boxes as they stand on the screen.
    const std::pair<int, std::vector<int>> sections[] = {
        {0, {2, 3, 4, 0, 1, 5, 10}},
        {4, {29, 27, 26, 12, 9, 7, 15, 16, 17, 18, 19, 24}},
        {6, {23, 22, 21, 20}},
        {9, {28, 11, 13, 14}},
    };
    // Opened, the first box of the first section has the focus.
    EXPECT_EQ(QApplication::focusWidget(), prefs.chkSetting[2]);
    for (const auto& [section, boxes] : sections) {
        SCOPED_TRACE(section);
        prefs.lblSection_Click(section);
        prefs.chkSetting[size_t(boxes.front())]->setFocus(Qt::TabFocusReason);
        std::vector<int> walked{boxes.front()};
        for (size_t i = 1; i < boxes.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto* box = qobject_cast<QCheckBox*>(QApplication::focusWidget());
            walked.push_back(box ? box->objectName().mid(10).toInt() : -1);
        }
        EXPECT_EQ(walked, boxes);
    }
    forms().unload<FrmPreferences>();
}

TEST_F(DialogsForKeyboardAndSmallScreens, TabWalksTheTagEditorsSectionsTopToBottom)
{
    start();
    FrmEditTag& editor = forms().fresh<FrmEditTag>();
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    const std::pair<int, std::vector<QWidget*>> sections[] = {
        {0, {editor.txtArtist[0], editor.txtTitle[0], editor.txtAlbum[0], editor.txtYear[0], editor.cmbGenre,
             static_cast<QWidget*>(editor.txtComments.line)}},
        {1, {editor.txtTrack, editor.txtYear[1], editor.txtArtist[1], editor.txtTitle[1], editor.txtAlbum[1], editor.txtOrgArtist,
             editor.txtComposer, editor.txtCopyright, static_cast<QWidget*>(editor.txtComments.page)}},
    };
    for (const auto& [section, boxes] : sections) {
        SCOPED_TRACE(section);
        editor.lblSection_Click(section);   // the section's first box takes the focus
        std::vector<QWidget*> walked{QApplication::focusWidget()};
        for (size_t i = 1; i < boxes.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked.push_back(QApplication::focusWidget());
        }
        EXPECT_EQ(walked, boxes);
    }
    // Past the last box of a section: the copy buttons, then the check box above the bottom row.
    editor.cmdCopyID31ToID32->setFocus(Qt::TabFocusReason);
    QTest::keyClick(editor.cmdCopyID31ToID32, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor.chkSaveChanges);
    forms().unload<FrmEditTag>();
}

TEST_F(DialogsForKeyboardAndSmallScreens, LyricsAndVideoSizesKeptFromALargerMonitorFitTheScreen)
{
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* section;
        std::function<QWidget*()> apply;
    } cases[] = {
        {"Lyrics", [] { forms().get<FrmLyrics>().lyrics_GetSize(); return static_cast<QWidget*>(&forms().get<FrmLyrics>()); }},
        {"Video", [] { forms().get<FrmVideo>().video_GetSize(); return static_cast<QWidget*>(&forms().get<FrmVideo>()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        settings_WriteValue(c.section, "Width", (screen.width() + 700) * 15);
        settings_WriteValue(c.section, "Height", (screen.height() + 500) * 15);
        // Sized before it is first shown, when its frame is not yet known: its size fits.
        QWidget* w = c.apply();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        EXPECT_LE(w->width(), screen.width());
        EXPECT_LE(w->height(), screen.height());
        w->hide();
    }
}
