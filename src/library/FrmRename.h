#pragma once
// Rename Song: one file of the main playlist gets a new name in its own folder, typed or
// built from its tags; the playlist row, the play counts and the stored volumes follow it.
#include "library/OrganiseDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FrmRename : public OrganiseDialog {
    Q_OBJECT
public:
    FrmRename();

    QLineEdit* txtDirectory;
    QLineEdit* txtFilename;
    QLineEdit* txtNewFilename;
    QComboBox* cmbFilename;
    QCheckBox* chkUseID3v2;
    QCheckBox* chkMaintain;
    QCheckBox* chkSaveChanges;
    QPushButton* cmdUseID3;
    QPushButton* cmdUpdate;
    QPushButton* cmdClose;
    QLabel* lblArtist;
    QLabel* lblTitle;
    QLabel* lblAlbum;

    // The file (full path) and its row in the main playlist (from 1). The dialog keeps to that
    // row while others come and go.
    void Get_Filename(const QString& path, int row);
    void cmdUseID3_Click();
    void cmdUpdate_Click();
    void cmdClose_Click() override;

    // The row's place now; 0 once it has left the playlist.
    int Row() const;

private:
    quint64 m_rowKey = 0;
};
