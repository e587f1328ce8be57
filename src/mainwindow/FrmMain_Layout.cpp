// The main window as a window: its layout, keys, sliders, the menus built at run time, the
// switch to the neighbouring playlist and the enabling of the playback controls.
#include "mainwindow/FrmMain.h"

#include "common/ListView.h"
#include "common/MenuArray.h"
#include "common/MenuTable.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modLineFiles.h"
#include "common/modMoodFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "controls/ctlQX_wScrollbar.h"
#include "mainwindow/FrmMenus.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "player/FrmVideo.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <functional>

namespace {

// Forwards the events of the watched objects to the window.
class EventHook : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> handler) : QObject(parent), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return m_handler(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> m_handler;
};

// The classic virtual-key number of a key; Qt's numbers of the special keys are mapped,
// letters and digits are the same in both.
int vbKeyCode(int key)
{
    if (key >= 0 && key < 0x01000000) {
        if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
        return key;
    }
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Menu: return 93;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
    return 0;
}

int shiftOf(Qt::KeyboardModifiers m)
{
    int shift = 0;
    if (m & Qt::ShiftModifier) shift |= 1;
    if (m & Qt::ControlModifier) shift |= 2;
    if (m & Qt::AltModifier) shift |= 4;
    return shift;
}
} // namespace

// ---- set-up --------------------------------------------------------------------------------------

void FrmMain::connectWindow()
{
    auto* hook = new EventHook(this, [this](QObject* watched, QEvent* event) { return windowEvent(watched, event); });
    hook->setObjectName(QStringLiteral("FrmMainEventHook"));   // removed first when the window goes
    for (QObject* o : std::initializer_list<QObject*>{this, picClient, lstvPlaylist, lstvPlaylist->viewport(), cmbPlaylists, lblOptions})
        o->installEventFilter(hook);

    connect(lstvPlaylist, &ListView::columnClick, this, [this](int column) { lstvPlaylist_ColumnClick(column); });

    for (QMenu* m : {mnuFile, mnuPlayback, mnuArrange, mnuWindow, mnuHelp}) {
        connect(m, &QMenu::hovered, this, [this, m](QAction* a) { window_MenuHelp(m, a); });
        connect(m, &QMenu::aboutToHide, this, [this] { window_MenuClosed(); });
    }
    // Menu help follows the hover signal; the timer only takes back a stray help text.
    tmrMenuText->setInterval(250);
    connect(tmrMenuText, &QTimer::timeout, this, [this] { tmrMenuText_Timer(); });

    setMenuPictures();

    // Design state: the bands at the top, the list just under them.
    alignBars();
    lstvPlaylist->move(0, cbToolbar->height() + cbControls->height());
}

void FrmMain::setMenuPictures() { window_SetMenuImages(); }

// ---- events ----------------------------------------------------------------------------------------

bool FrmMain::windowEvent(QObject* watched, QEvent* event)
{
    QWidget* viewport = lstvPlaylist->viewport();
    switch (event->type()) {
    case QEvent::KeyPress: {
        // The window sees every key before its controls do. A key that a control let pass
        // on to the window has been seen already.
        if (watched == this) {
            QWidget* focus = QApplication::focusWidget();
            if (focus && (focus == lstvPlaylist || focus == cmbPlaylists)) return false;
        }
        auto* k = static_cast<QKeyEvent*>(event);
        const int shift = shiftOf(k->modifiers());
        if (formKeyDown(k->key(), shift)) return true;
        if (watched == lstvPlaylist) return lstvPlaylist_KeyDown(vbKeyCode(k->key()), shift);
        return false;
    }
    case QEvent::Resize:
        if (watched == picClient) Form_Resize();
        return false;
    case QEvent::WindowStateChange:
        // Minimised on the desktop, as by the program: the tray's Open brings it back as it went.
        if (watched == this && isVisible() && isMinimized()) WasMaximized = isMaximized();
        return false;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        if (watched == lblOptions) {
            const QPointF p = m->position();
            const int button = m->button() == Qt::LeftButton ? 1 : m->button() == Qt::RightButton ? 2 : 4;
            lblOptions_MouseDown(button, shiftOf(m->modifiers()), float(p.x()), float(p.y()));
            return true;
        }
        if (watched == viewport) {
            if (m->button() == Qt::LeftButton) {
                m_dragStart = m->position().toPoint();
                m_dragPressRow = lstvPlaylist->hitTest(m_dragStart);
            } else if (m->buttons() == Qt::RightButton) {
                // After the list has selected the row under the pointer.
                const QPoint p = m->position().toPoint();
                const int shift = shiftOf(m->modifiers());
                QTimer::singleShot(0, this, [this, p, shift] { lstvPlaylist_MouseDown(2, shift, p); });
            }
        }
        return false;
    }
    case QEvent::MouseMove:
        if (watched == viewport && m_dragPressRow > 0) {
            auto* m = static_cast<QMouseEvent*>(event);
            if (!(m->buttons() & Qt::LeftButton)) {
                m_dragPressRow = 0;
                return false;
            }
            // A press on a row drags that row; the list does not select along the way.
            if ((m->position().toPoint() - m_dragStart).manhattanLength() >= QApplication::startDragDistance()) {
                m_dragPressRow = 0;
                startRowDrag();
            }
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (watched == viewport) m_dragPressRow = 0;
        return false;
    case QEvent::MouseButtonDblClick:
        if (watched == viewport && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QTimer::singleShot(0, this, [this] { lstvPlaylist_DblClick(); });
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (watched == viewport) return rowDragEvent(static_cast<QDropEvent*>(event));
        return false;
    default:
        return false;
    }
}

// ---- layout ------------------------------------------------------------------------------------------

void FrmMain::alignBars()
{
    controls_PlaceBars(picClient, {cbToolbar, cbControls}, sbStatusBar, [this](QToolBar* band) {
        if (band == cbControls) cbControls_HeightChanged();
    });
}

void FrmMain::cbControls_HeightChanged() { Form_Resize(); }

void FrmMain::Form_Resize()
{
    alignBars();   // bands and status bar keep to their edges at any time, shown or hidden
    if (!LayoutReady) return;
    // A minimised window keeps its size here, and the window manager may give it another
    // meanwhile (maximised from the task bar, or the tray's restore seen as minimised for a
    // moment): that size is laid out at once, so the window comes back as it is shown.
    using vb::PixelsToTwips;
    using vb::TwipsToPixels;
    const double scaleWidth = PixelsToTwips(picClient->width());
    const double scaleHeight = PixelsToTwips(picClient->height());

    const double top = PixelsToTwips(lstvPlaylist->y());
    const double height = mnuShowStatusBar->isChecked() ? scaleHeight - top - PixelsToTwips(sbStatusBar->height()) : scaleHeight - top;
    lstvPlaylist->resize(TwipsToPixels(scaleWidth), height >= 0 ? TwipsToPixels(height) : lstvPlaylist->height());

    if (mnuShowFilenamesColumn->isChecked()) {
        double others = 0;
        for (int c = 0; c < PlaylistColumn::Filename; ++c) others += lstvPlaylist->columnWidthTwips(c);
        const double w = PixelsToTwips(lstvPlaylist->width()) - others - 360;
        if (w >= 0) lstvPlaylist->setColumnWidthTwips(PlaylistColumn::Filename, w);   // narrower than the columns: left alone
    } else {
        lstvPlaylist->setColumnWidthTwips(PlaylistColumn::Filename, 0);
    }

    const double margin = isMaximized() ? 160 : 420;
    const double panel1 = PixelsToTwips(frameGeometry().width()) - PixelsToTwips(sbPanel[1]->minimumWidth())
                          - PixelsToTwips(sbPanel[2]->minimumWidth()) - margin;
    if (panel1 >= 0) sbPanel[0]->setMinimumWidth(TwipsToPixels(panel1));

    const double comboWidth = PixelsToTwips(cbToolbar->width()) - PixelsToTwips(cmbPlaylists->x()) - PixelsToTwips(uspControls->x())
                              - PixelsToTwips(lblOptions->width()) - 540;
    if (comboWidth > 0) cmbPlaylists->resize(TwipsToPixels(comboWidth), cmbPlaylists->height());
    lblOptions->move(TwipsToPixels(PixelsToTwips(cmbPlaylists->x()) + PixelsToTwips(cmbPlaylists->width()) + 120), lblOptions->y());
}

void FrmMain::lblOptions_MouseDown(int button, int, float, float)
{
    if (button != 1 || mnuLockPlaylist->isChecked()) return;
    const int x = uspControls->x() + lblOptions->x();
    const int y = cbControls->y() + cbControls->height() - 2 * lblOptions->y();
    mnuPlaylists->popup(picClient->mapToGlobal(QPoint(x, y)));
}

// ---- keys --------------------------------------------------------------------------------------------

void FrmMain::Form_KeyDown(int keyCode, int shift) { formKeyDown(keyCode, shift); }

bool FrmMain::formKeyDown(int keyCode, int shift)
{
    keyCode = vbKeyCode(keyCode);
    if (keyCode == 0) return false;

    if (WindowShown && mnuKeysUseAsShortcuts->isChecked()) {
        // A key runs its command only while its item and the menus above it are enabled (the
        // lock disables whole submenus); either way the key is the window's and goes no further.
        auto run = [](QAction* item) {
            if (menutable::reachable(item)) item->trigger();
            return true;
        };
        if (shift == 4) {
            switch (keyCode) {
            case 38: return run(mnuSelectedMoveUp);
            case 40: return run(mnuSelectedMoveDown);
            case 39: return run(mnuFontsizeIncrease);
            case 37: return run(mnuFontsizeDecrease);
            case 78:
                if (menutable::reachable(mnuJumpToNextPlaylist)) player_NextPlaylist(false);
                return true;
            case 86:
                if (menutable::reachable(mnuJumpToPreviousPlaylist)) player_PreviousPlaylist(false);
                return true;
            case 77: return run(mnuJumpToRandomPlaylist);
            case 115: return run(mnuExit);
            default: return false;
            }
        }
        if (shift == 2) return false;
        switch (keyCode) {
        case 27:
            Form_QueryUnload(FormControlMenu);   // as the window's close box
            return true;
        case 74: return run(mnuJumpToMedia);
        case 84: return run(mnuJumpToTime);
        case 77: return run(mnuRandom);
        case 86: return run(mnuPrevious);
        case 82: return run(mnuRewind);
        case 80: return run(mnuPlay);
        case 69: return run(mnuMute);
        case 85: return run(mnuPause);
        case 83: return run(mnuStop);
        case 70: return run(mnuFastForward);
        case 78: return run(mnuNextTrack);
        case 88: return run(mnuPlayNext);
        case 89: return run(mnuJumpToCurrentlyPlaying);
        case 65: return run(mnuNextTrackAdvanced);
        default: return false;
        }
    }

    // Artist finding: the next row whose artist begins with the key's character, wrapping
    // round to the top; the selected row itself is never a match.
    ListViewModel& list = rows();
    const int selected = list.selectedItem();
    if (list.count() == 0 || selected < 1) return false;
    const QChar c(keyCode);
    auto matches = [&](int row) { return list.subItem(row, PlaylistColumn::Artist).startsWith(c, Qt::CaseInsensitive); };
    int found = 0;
    for (int row = selected + 1; row <= list.count() && !found; ++row)
        if (matches(row)) found = row;
    for (int row = 1; row < selected && !found; ++row)
        if (matches(row)) found = row;
    if (found) controls_SelectItem(list, found);
    return c.isLetterOrNumber();
}

// ---- sliders -----------------------------------------------------------------------------------------

void FrmMain::sldPosition_Change() { wmpPlayer().setCurrentPosition(double(sldPosition->value())); }

void FrmMain::sldVolume_Change()
{
    player_Volume(qint16(sldVolume->value()));
    forms().get<FrmVideo>().qxsVolume->setValue(sldVolume->value());
}

void FrmMain::sldBalance_Change()
{
    player_Balance(qint16(sldBalance->value()));
    forms().get<FrmVideo>().qxsBalance->setValue(sldBalance->value());
}

// ---- playlist switching and control enabling ----------------------------------------------------

namespace {
// Steps to the neighbouring playlist of the box and loads it; `step` is +1 or -1.
void switchPlaylist(FrmMain& main, int step, bool playNow)
{
    QComboBox* box = main.cmbPlaylists;
    const int index = box->currentIndex();
    if (index < 0) return;
    if (step > 0 && index >= box->count() - 1) return;   // the list does not wrap
    if (step < 0 && index <= 1) return;                    // nothing before the first playlist
    main.player_SwitchPlaylist(index + step, playNow);
}
} // namespace

void FrmMain::player_NextPlaylist(bool playNow) { switchPlaylist(*this, +1, playNow); }

void FrmMain::player_PreviousPlaylist(bool playNow) { switchPlaylist(*this, -1, playNow); }

void FrmMain::window_Controls(bool enabled)
{
    for (QAction* a : {mnuPrevious, mnuPlay, mnuRandom, mnuNextTrack, mnuNextTrackAdvanced, mnuSavePlaylistAs, mnuSave, mnuPrint,
                       mnuJump->menuAction(), mnuSelected->menuAction(), mnuSaveAsDefault, mnuEntries->menuAction(), mnuNew,
                       mnuDisplay->menuAction(), mnuSort->menuAction(), mnuAddSelected})
        a->setEnabled(enabled);
    FrmMenus& menus = forms().get<FrmMenus>();
    for (QAction* a : {menus.mnuQueue->menuAction(), menus.mnuPlay2, menus.mnuRandom, menus.mnuPrevious, menus.mnuPlay, menus.mnuNextTrack,
                       menus.mnuNextTrackAdvanced, menus.mnuRemoveSelected, menus.mnuProperties, menus.mnuRenameFilename,
                       menus.mnuSendTo->menuAction()})
        a->setEnabled(enabled);
    for (const char* key : {"Previous", "Play", "Random", "Next", "NextAdvanced", "PreviousPlaylist", "NextPlaylist"})
        if (QAction* b = toolbarButton(QString::fromLatin1(key))) b->setEnabled(enabled);
}

// ---- shortcut texts ------------------------------------------------------------------------------------

void FrmMain::window_AddShortcutTexts()
{
    // Shown only: these keys are the window's own (Form_KeyDown), not menu accelerators.
    const std::pair<QAction*, const char*> mainItems[] = {
        {mnuPrevious, "V"}, {mnuRewind, "R"}, {mnuPlay, "P"}, {mnuPause, "U"}, {mnuStop, "S"}, {mnuFastForward, "F"},
        {mnuNextTrack, "N"}, {mnuNextTrackAdvanced, "A"}, {mnuJumpToCurrentlyPlaying, "Y"}, {mnuSelectedMoveUp, "Alt+Up"},
        {mnuSelectedMoveDown, "Alt+Down"}, {mnuFontsizeIncrease, "Alt+Right"}, {mnuFontsizeDecrease, "Alt+Left"},
        {mnuRandom, "M"}, {mnuPlayNext, "X"}, {mnuJumpToMedia, "J"}, {mnuJumpToTime, "T"}, {mnuMute, "E"},
        {mnuJumpToNextPlaylist, "Alt+N"}, {mnuJumpToPreviousPlaylist, "Alt+V"}, {mnuJumpToRandomPlaylist, "Alt+M"},
        {mnuExit, "Alt+F4"},
    };
    FrmMenus& menus = forms().get<FrmMenus>();
    const std::pair<QAction*, const char*> rightMenuItems[] = {
        {menus.mnuPlay2, "Enter"}, {menus.mnuRemoveSelected, "Del"}, {menus.mnuSelectPlaying, "Y"},
        {menus.mnuJumpToMedia, "J"}, {menus.mnuPlayNext, "X"},
    };
    const std::pair<QAction*, const char*> trayItems[] = {
        {menus.mnuPrevious, "V"}, {menus.mnuRewind, "R"}, {menus.mnuPlay, "P"}, {menus.mnuPause, "U"},
        {menus.mnuStop, "S"}, {menus.mnuRandom, "M"}, {menus.mnuFastForward, "F"}, {menus.mnuNextTrack, "N"},
        {menus.mnuNextTrackAdvanced, "A"},
    };
    // In the menu bar the key stays text: as a shortcut it would fire while the bar has the
    // keyboard (Alt, F10), in place of the bar's own letters. The playlist menu keeps it as
    // text too: its Play Next caption is rewritten together with the main window's.
    for (const auto& [item, text] : mainItems) item->setText(item->text() + u'\t' + QString::fromLatin1(text));
    for (const auto& [item, text] : rightMenuItems) item->setText(item->text() + u'\t' + QString::fromLatin1(text));
    // A panel that draws the tray menu itself takes the whole text as the label: the key goes
    // as the item's shortcut, which it sets in a column of its own.
    for (const auto& [item, text] : trayItems) menutable::showKey(item, QString::fromLatin1(text));
}

// ---- bookmarks and moods -------------------------------------------------------------------------------

void FrmMain::window_RemoveBookmarkMenus() { mnuBookmark->unloadAbove(0); }

void FrmMain::window_InstallBookmarks()
{
    window_RemoveBookmarkMenus();
    QAction* zero = mnuBookmark->at(0);
    zero->setVisible(false);
    zero->setEnabled(false);
    // A menu of every line of a very long file would take gigabytes and minutes to build and
    // could not be used: it holds the newest lines, and the file stays as it is.
    const QString file = programfolder::file(QStringLiteral("bookmarks.sbl"));
    QStringList lines;
    qint64 total = 0;
    if (files_FileExists(file) && linefile_ReadLast(file, kBookmarksShown, &lines, &total)) {
        const qint64 older = total - lines.size();
        int n = int(older);
        for (const QString& line : std::as_const(lines)) {
            QAction* a = mnuBookmark->load(++n);
            if (!a) continue;
            a->setText(menu_Caption(files_GetFileName(line)));
            a->setVisible(true);
            a->setEnabled(true);
        }
        if (older > 0) {
            zero->setText(QStringLiteral("[%1 older bookmarks not shown]").arg(QLocale().toString(older)));
            zero->setVisible(true);
        }
    }
    if (mnuBookmark->count() == 1) {
        zero->setText(QStringLiteral("[None]"));
        zero->setVisible(true);
        zero->setEnabled(false);
    }
}

void FrmMain::window_InstallMoods()
{
    FrmMenus& menus = forms().get<FrmMenus>();
    for (MenuArray* array : {mnuMoodOpen, menus.mnuSendToMood}) {
        array->at(0)->setVisible(false);
        array->at(0)->setEnabled(true);
    }
    const QString moods = settings_ReadValue(QStringLiteral("Advanced"), QStringLiteral("Moods"),
                                             QStringLiteral("Happy|Annoyed|Sad|Low|Hyper|Bored|Slow|Fast|Angry|Other"));
    if (moods.isEmpty()) return;
    for (const QString& name : moods.split(u'|')) {
        for (MenuArray* array : {mnuMoodOpen, menus.mnuSendToMood}) {
            QAction* a = array->load(array->ubound() + 1);
            if (!a) continue;
            menu_SetNameItem(a, name);
            a->setVisible(true);
            a->setEnabled(true);   // a hidden element 0 reads as disabled; the copies must not
        }
    }
}

void FrmMain::window_UpdateMoods()
{
    for (int i = 1; i <= mnuMoodOpen->ubound(); ++i) {
        QAction* a = mnuMoodOpen->at(i);
        if (!a) continue;
        a->setEnabled(files_FileExists(moods_FilePath(menu_ItemName(a))));
    }
}

void FrmMain::window_RemoveMoodMenus()
{
    mnuMoodOpen->unloadAbove(0);
    forms().get<FrmMenus>().mnuSendToMood->unloadAbove(0);
}
