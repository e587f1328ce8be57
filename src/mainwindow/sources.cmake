veltra_ui_sources(FrmMenus.cpp)
veltra_ui_sources(
  StandInWindows.cpp
  FrmMain_View.cpp
  FrmMain_Windows.cpp
)
