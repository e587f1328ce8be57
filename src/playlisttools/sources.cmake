veltra_core_sources(
  modPlaylistSearch.cpp
)
veltra_ui_sources(
  FrmAddLocation.cpp
  FrmEditBookmarks.cpp
  FrmEditEntry.cpp
  FrmManagePlaylists.cpp
  FrmRenamePlaylist.cpp
  OptionButtons.cpp
  FrmJump.cpp
  FrmJumpToTime.cpp
  FrmJumpToNumber.cpp
  FrmQueue.cpp
)
veltra_ui_sources(FrmGeneratePlaylist.cpp FrmRandomSongsPlaylist.cpp)
