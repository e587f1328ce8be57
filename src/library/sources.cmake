veltra_ui_sources(FrmLyrics.cpp)
veltra_core_sources(modOrganise.cpp)
veltra_ui_sources(
  OrganiseDialog.cpp
  FrmRename.cpp
  FrmMassRenamer.cpp
  FrmMoveToFolder.cpp
)
