veltra_ui_sources(
  FrmAdjustVolumes.cpp
  FrmOptions.cpp
)
