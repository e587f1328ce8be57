// The playlist menu's own commands (More On This, the Advanced Queue) and the pictures of the
// pop-up menus.
#include "mainwindow/FrmMenus.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modWindows.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/FrmJump.h"
#include "playlisttools/FrmQueue.h"
#include "playlisttools/OptionButtons.h"
#include "startup/Forms.h"

#include <QComboBox>

#include <QAction>

using namespace veltra;

void FrmMenus::window_SetMenuImages()
{
    // The pictures of the main window's items of the same commands. The main window is loaded
    // first at start-up; without it the items stay plain.
    if (!forms().isLoaded<FrmMain>()) return;
    FrmMain& main = forms().get<FrmMain>();
    const std::pair<QAction*, QAction*> pictures[] = {
        {mnuPrevious, main.mnuPrevious}, {mnuRewind, main.mnuRewind},       {mnuPlay, main.mnuPlay},
        {mnuPause, main.mnuPause},       {mnuStop, main.mnuStop},           {mnuRandom, main.mnuRandom},
        {mnuFastForward, main.mnuFastForward}, {mnuNextTrack, main.mnuNextTrack}, {mnuNextTrackAdvanced, main.mnuNextTrackAdvanced},
        {mnuExit, main.mnuExit},         {mnuPlay2, main.mnuPlay},
    };
    for (const auto& [item, source] : pictures) item->setIcon(source->icon());
}

namespace {
// Jump To Media's "Search by:" buttons.
constexpr int kSearchAll = 0;
constexpr int kSearchYear = 4;
} // namespace

void FrmMenus::mnuMoreOnThisArtist_Click() { moreOnThis(PlaylistColumn::Artist, kSearchAll); }

void FrmMenus::mnuMoreOnThisYear_Click() { moreOnThis(PlaylistColumn::Year, kSearchYear); }

void FrmMenus::moreOnThis(int column, int searchBy)
{
    const ListViewModel& list = forms().get<FrmMain>().rows();
    const QList<int> selected = list.selectedRows();
    if (selected.size() >= 2) {
        msgBox(QStringLiteral("You have selected more than 1 song from the playlist.\r\n\r\nThis function will not continue.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error With Selected Songs"));
        return;
    }
    if (selected.isEmpty()) return;
    // The dialog as a fresh opening has it, searched before it shows.
    FrmJump& jump = forms().fresh<FrmJump>();
    jump.cmbSearch->setEditText(list.subItem(selected.first(), column));
    jump.opOptions->select(searchBy);
    jump.cmdFind_Click();
    forms().get<FrmMain>().mnuJumpToMedia_Click();
}

void FrmMenus::mnuAdvanced_Click() { windows_ShowModal(forms().fresh<FrmQueue>(), &forms().get<FrmMain>(), true); }
