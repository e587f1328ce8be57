veltra_ui_sources(FrmTracking.cpp)
