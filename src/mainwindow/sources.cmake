veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
  FrmMain_Adding.cpp
  FrmMain_FileLists.cpp
  FrmMain_PlaylistFiles.cpp
  FrmMain_Tags.cpp
  StandInWindows.cpp
  FrmMain_View.cpp
  FrmMain_Windows.cpp
  FrmMain_Preferences.cpp
  FrmMain_Jump.cpp
  FrmMain_Edit.cpp
  FrmMain_Sort.cpp
)
veltra_ui_sources(FrmMenus_MiniMode.cpp)
veltra_ui_sources(FrmMenus_SendTo.cpp FrmMenus_Right.cpp FrmMain_NewPlaylists.cpp)
