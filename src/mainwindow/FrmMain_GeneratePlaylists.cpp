// The Playlists menu's commands that make new playlist files from the rows: by artist, album
// or year, and of random songs.
#include "mainwindow/FrmMain.h"

#include "common/ListViewModel.h"
#include "common/modWindows.h"
#include "playlisttools/FrmGeneratePlaylist.h"
#include "playlisttools/FrmRandomSongsPlaylist.h"
#include "startup/Forms.h"

void FrmMain::mnuGeneratePlaylist_Click()
{
    if (rows().count() == 0) return;
    windows_ShowModal(forms().fresh<FrmGeneratePlaylist>(), this, true);
}

void FrmMain::mnuUseRandomSongsForPlaylist_Click()
{
    if (rows().count() == 0) return;
    windows_ShowModal(forms().fresh<FrmRandomSongsPlaylist>(), this, true);
}
