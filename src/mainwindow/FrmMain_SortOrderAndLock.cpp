// Commands of the Arrange menu: the sort order and the playlist lock.
#include "mainwindow/FrmMain.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modControls.h"
#include "common/modColours.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "controls/SystemColours.h"
#include "mainwindow/FrmMenus.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

namespace {
void writeLog(const QString& line) { forms().get<FrmConsole>().window_WriteLog(line); }

void writeSortOrderKeys(const char* ascending, const char* descending, const char* none)
{
    const QString section = QStringLiteral("ListSorting");
    settings_WriteValue(section, QStringLiteral("SortViaAscendingOrder"), QString::fromLatin1(ascending));
    settings_WriteValue(section, QStringLiteral("SortViaDescendingOrder"), QString::fromLatin1(descending));
    settings_WriteValue(section, QStringLiteral("DoNotSortTheList"), QString::fromLatin1(none));
}
} // namespace

// One of the three sort orders: its check mark, the three keys, and the rows sorted or left.
void FrmMain::selectSortOrder(QAction* chosen)
{
    const bool sorted = chosen != mnuDontSort;
    for (QAction* a : {mnuSortViaAcending, mnuSortViaDecending, mnuDontSort}) a->setChecked(a == chosen);
    for (QAction* a : {mnuSortByArtist, mnuSortByTitle, mnuSortByYear, mnuSortByLength, mnuSortByFilename}) a->setEnabled(sorted);
    mnuShuffleThePlaylist->setEnabled(!sorted);
    if (sorted) rows().setSortOrder(chosen == mnuSortViaAcending ? ListViewModel::Ascending : ListViewModel::Descending);
    rows().setSorted(sorted);
    writeSortOrderKeys(chosen == mnuSortViaAcending ? "1" : "0", chosen == mnuSortViaDecending ? "1" : "0", sorted ? "0" : "1");
    if (!sorted) return;
    writeLog(chosen == mnuSortViaAcending ? QStringLiteral("Sorting set to:  Ascending.") : QStringLiteral("Sorting set to:  Descending."));
    controls_RenumberItems(rows());
}

void FrmMain::mnuSortViaAcending_Click() { selectSortOrder(mnuSortViaAcending); }
void FrmMain::mnuSortViaDecending_Click() { selectSortOrder(mnuSortViaDecending); }
void FrmMain::mnuDontSort_Click() { selectSortOrder(mnuDontSort); }

// The lock freezes the playlist: the list and the playlist box stop reacting and grey, and
// every command that would edit, reorder, replace or leave the playlist is off; playing on
// through the list stays. The update timer gives the playback items back after unlocking.
void FrmMain::mnuLockPlaylist_Click()
{
    const bool lock = !mnuLockPlaylist->isChecked();
    mnuLockPlaylist->setChecked(lock);
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("LockPlaylist"), lock ? QStringLiteral("1") : QStringLiteral("0"));
    // Only a change of state changes the controls: a second lock or unlock leaves them.
    if (lstvPlaylist->isEnabled() == lock) {
        if (lock) window_CloseAll();
        setLockedControls(lock);
    }
    if (lock) {
        FrmMenus& tray = forms().get<FrmMenus>();
        for (QAction* a : {mnuEdit->menuAction(), mnuPrevious, mnuRandom, mnuNextTrack, mnuNextTrackAdvanced, mnuSavePlaylistAs, mnuSave,
                           mnuJump->menuAction(), mnuSelected->menuAction(), mnuSaveAsDefault, mnuEntries->menuAction(), mnuNew,
                           mnuDisplay->menuAction(), mnuSort->menuAction(), tray.mnuPrevious, tray.mnuRandom, tray.mnuNextTrack,
                           tray.mnuNextTrackAdvanced})
            a->setEnabled(false);
        for (QAction* a : {mnuPlay, mnuPrint, tray.mnuPlay, tray.mnuStop}) a->setEnabled(true);
        for (const char* key : {"Previous", "Random", "Next", "NextAdvanced", "PreviousPlaylist", "NextPlaylist"})
            if (QAction* b = toolbarButton(QString::fromLatin1(key))) b->setEnabled(false);
        if (QAction* b = toolbarButton(QStringLiteral("Play"))) b->setEnabled(true);
    }
    lblOptions->setEnabled(!lock);
}

void FrmMain::setLockedControls(bool locked)
{
    if (QAction* b = toolbarButton(QStringLiteral("AddFiles"))) b->setEnabled(!locked);
    lstvPlaylist->setEnabled(!locked);
    cmbPlaylists->setEnabled(!locked);
    const quint32 back = locked ? syscolour::ButtonFace
                                : quint32(qint64(vb::Val(settings_ReadValue(QStringLiteral("Appearance"), QStringLiteral("BackgroundColour"), QStringLiteral("&H80000005")))));
    lstvPlaylist->setBackColour(back);
    QPalette palette = cmbPlaylists->palette();
    // A system colour is the desktop's, not the box's own (its button colour is the list's).
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button}) palette.setColor(role, colours::toQColor(back, QApplication::palette()));
    cmbPlaylists->setPalette(palette);
    for (QAction* a : {mnuOpenMediaLibrary, mnuOpenCDPlayer, mnuPlaylists->menuAction(), mnuAddFiles, mnuAddPlaylist, mnuAddLocation,
                       mnuAddDirectory, mnuOpenPlaylist, mnuOpenMood->menuAction(), mnuOpenBookmark->menuAction(), mnuOptions->menuAction(),
                       mnuSwitchToMiniMode, mnuPreferences, mnuTracking, mnuRecentMediaFiles->menuAction(), mnuRecentPlaylists->menuAction()})
        a->setEnabled(!locked);
    if (!locked) mnuEdit->menuAction()->setEnabled(true);
}
