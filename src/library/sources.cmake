veltra_ui_sources(FrmLyrics.cpp)
