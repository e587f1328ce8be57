veltra_core_sources(
  modExport.cpp
)
veltra_ui_sources(
  FrmMain.cpp
  FrmVideo.cpp
)
veltra_core_sources(modGlobalKeys.cpp)
