veltra_ui_sources(
  FrmMain.cpp
  FrmVideo.cpp
)
