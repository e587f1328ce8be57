veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
  FrmMain_PlaylistFiles.cpp
  FrmMain_Tags.cpp
)
