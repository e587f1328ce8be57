#pragma once
// Mass Renamer: every MP3, MP2 and MP1 file of the main playlist gets a name built from its
// tags, in one run; the rows, the play counts and the stored volumes follow the files.
#include "library/OrganiseDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

class FrmMassRenamer : public OrganiseDialog {
    Q_OBJECT
public:
    FrmMassRenamer();

    QComboBox* cmbFilename;
    QCheckBox* chkUseID3v2;
    QCheckBox* chkAddNumbers;
    QCheckBox* chkSaveChanges;
    QCheckBox* chkCloseWindow;
    QPushButton* cmdRename;
    QPushButton* cmdClose;
    QProgressBar* pbBar;
    QLabel* lblArtist;
    QLabel* lblTitle;
    QLabel* lblAlbum;

    void cmdRename_Click();
    void cmdClose_Click() override;

private:
    void setControlsEnabled(bool enabled);
};
