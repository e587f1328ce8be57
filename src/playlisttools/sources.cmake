veltra_ui_sources(
  FrmAddLocation.cpp
  FrmEditBookmarks.cpp
  FrmManagePlaylists.cpp
  FrmRenamePlaylist.cpp
)
