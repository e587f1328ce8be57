veltra_ui_sources(
  FrmTracking.cpp
  FrmMini.cpp
  FrmCDPlayer.cpp
  FrmCDPlayer_Window.cpp
  FrmCDPlayer_Status.cpp
)
