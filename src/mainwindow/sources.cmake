veltra_ui_sources(FrmMenus.cpp)
veltra_ui_sources(
  FrmMenus_MiniMode.cpp
  FrmMain_Help.cpp
)
