veltra_ui_sources(
  FrmMenus.cpp
  FrmMessage.cpp
)
veltra_ui_sources(
  FrmMenus_MiniMode.cpp
  FrmMain_Help.cpp
)
