veltra_ui_sources(
  FrmMenus.cpp
  FrmMain_Tags.cpp
)
