veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
  FrmMain_Preferences.cpp
)
