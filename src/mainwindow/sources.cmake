veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
  StandInWindows.cpp
  FrmMain_View.cpp
  FrmMain_Windows.cpp
)
