veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
  FrmMain_Adding.cpp
  FrmMain_FileLists.cpp
  FrmMain_Tags.cpp
)
