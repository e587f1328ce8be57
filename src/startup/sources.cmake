veltra_ui_sources(
  Forms.cpp
  FrmExit.cpp
  SingleInstance.cpp
  modMain.cpp
)
veltra_ui_sources(modGlobalKeySettings.cpp)
