veltra_ui_sources(
  FrmTracking.cpp
  FrmMini.cpp
)
