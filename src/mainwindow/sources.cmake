veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
)
