veltra_ui_sources(
  FrmAdjustVolumes.cpp
  FrmOptions.cpp
)
veltra_ui_sources(
  FrmVolume.cpp
  FrmCustomise.cpp
)
