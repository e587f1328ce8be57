#pragma once
// The recently opened media files and playlists: sections RecentMediaFiles and
// RecentPlaylists of the settings, keys Filename1 (newest) up to the list's capacity, and
// the numbered "recent" menus built from them (menu arrays mnuRecentMedia and
// mnuRecentPlaylist of the window passed in).
#include "common/MenuArray.h"

#include <QString>
#include <QStringList>

// Capacities, set at start from Settings/NumberofRecentMediaFiles and
// Settings/NumberofRecentPlaylists.
extern int RecentMediaMax;
extern int RecentPlaylistsMax;

int recentmedia_CountEntries();
bool recentmedia_IsEmpty();
void recentmedia_ClearEntries();
void recentmedia_ClearMenu(MenuArray& mnuRecentMedia);
void recentmedia_RemoveEntry(int index, MenuArray& mnuRecentMedia);
void recentmedia_AddFile(const QString& fileName, MenuArray& mnuRecentMedia);
// recentmedia_AddFile for each name in turn, with the settings written once (a drop of many files).
void recentmedia_AddFiles(const QStringList& fileNames, MenuArray& mnuRecentMedia);
void recentmedia_BuildMenu(MenuArray& mnuRecentMedia);

int recentplaylists_CountEntries();
bool recentplaylists_IsEmpty();
void recentplaylists_ClearEntries();
void recentplaylists_ClearMenu(MenuArray& mnuRecentPlaylist);
void recentplaylists_RemoveEntry(int index, MenuArray& mnuRecentPlaylist);
void recentplaylists_AddFile(const QString& fileName, MenuArray& mnuRecentPlaylist);
void recentplaylists_BuildMenu(MenuArray& mnuRecentPlaylist);

// The same, given the window that holds the menu array.
namespace recent {
inline MenuArray& menu(MenuArray& m) { return m; }
inline MenuArray& menu(MenuArray* m) { return *m; }
} // namespace recent

template <class W>
void recentmedia_ClearMenu(W& window) requires requires { window.mnuRecentMedia; }
{
    recentmedia_ClearMenu(recent::menu(window.mnuRecentMedia));
}
template <class W>
void recentmedia_RemoveEntry(int index, W& window) requires requires { window.mnuRecentMedia; }
{
    recentmedia_RemoveEntry(index, recent::menu(window.mnuRecentMedia));
}
template <class W>
void recentmedia_AddFile(const QString& fileName, W& window) requires requires { window.mnuRecentMedia; }
{
    recentmedia_AddFile(fileName, recent::menu(window.mnuRecentMedia));
}
template <class W>
void recentmedia_AddFiles(const QStringList& fileNames, W& window) requires requires { window.mnuRecentMedia; }
{
    recentmedia_AddFiles(fileNames, recent::menu(window.mnuRecentMedia));
}
template <class W>
void recentmedia_BuildMenu(W& window) requires requires { window.mnuRecentMedia; }
{
    recentmedia_BuildMenu(recent::menu(window.mnuRecentMedia));
}
template <class W>
void recentplaylists_ClearMenu(W& window) requires requires { window.mnuRecentPlaylist; }
{
    recentplaylists_ClearMenu(recent::menu(window.mnuRecentPlaylist));
}
template <class W>
void recentplaylists_RemoveEntry(int index, W& window) requires requires { window.mnuRecentPlaylist; }
{
    recentplaylists_RemoveEntry(index, recent::menu(window.mnuRecentPlaylist));
}
template <class W>
void recentplaylists_AddFile(const QString& fileName, W& window) requires requires { window.mnuRecentPlaylist; }
{
    recentplaylists_AddFile(fileName, recent::menu(window.mnuRecentPlaylist));
}
template <class W>
void recentplaylists_BuildMenu(W& window) requires requires { window.mnuRecentPlaylist; }
{
    recentplaylists_BuildMenu(recent::menu(window.mnuRecentPlaylist));
}
