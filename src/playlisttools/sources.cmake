veltra_ui_sources(
  FrmAddLocation.cpp
  FrmEditBookmarks.cpp
)
