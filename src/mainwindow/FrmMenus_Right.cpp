// The playlist menu's own commands (More On This, the Advanced Queue) and the pictures of the
// pop-up menus.
#include "mainwindow/FrmMenus.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "platform/UiServices.h"
#include "player/FrmMain.h"
#include "startup/Forms.h"

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

void FrmMenus::mnuMoreOnThisArtist_Click() { moreOnThis(PlaylistColumn::Artist, 0); }

void FrmMenus::mnuMoreOnThisYear_Click() { moreOnThis(PlaylistColumn::Year, 0); }

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
    const QString text = list.subItem(selected.first(), column);
    Q_UNUSED(text);
    Q_UNUSED(searchBy);
}

void FrmMenus::mnuAdvanced_Click() {}
