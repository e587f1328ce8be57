veltra_ui_sources(
  FrmAddLocation.cpp
  FrmEditBookmarks.cpp
  FrmEditEntry.cpp
  FrmManagePlaylists.cpp
  FrmRenamePlaylist.cpp
)
