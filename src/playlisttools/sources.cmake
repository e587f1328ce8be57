veltra_ui_sources(
  FrmManagePlaylists.cpp
  FrmRenamePlaylist.cpp
)
