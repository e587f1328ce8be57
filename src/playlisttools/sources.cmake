veltra_ui_sources(
  FrmEditEntry.cpp
)
