veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
  FrmMain_Tags.cpp
  StandInWindows.cpp
  FrmMain_View.cpp
  FrmMain_Windows.cpp
)
