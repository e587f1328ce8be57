#pragma once
// Edit Entry: the Artist, Title and Year texts of one playlist row whose file carries no tags
// the program edits. Only the row changes, never the file; the playlist can be saved
// afterwards, and "»" hands the file to Rename Song instead.
#include "common/ToolDialog.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ctlQX_wLine3D;

class FrmEditEntry : public ToolDialog {
    Q_OBJECT
public:
    FrmEditEntry();

    // The main playlist's row being edited (from 1), set by the opener. The dialog keeps to
    // that row while others come and go; 0 once it has left the playlist.
    int EntryIndex() const;
    void setEntryIndex(int row);

    std::array<QLabel*, 5> lblText{};   // 0 Filename, 1 Artist, 2 Title, 4 Year; 3 is not used
    QLineEdit* txtFilename = nullptr;
    QPushButton* cmdRename = nullptr;
    QLineEdit* txtArtist = nullptr;
    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtYear = nullptr;
    QCheckBox* chkSaveChanges = nullptr;
    QPushButton* cmdUpdate = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D2 = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D3 = nullptr;

    void cmdUpdate_Click();
    void cmdRename_Click();
    void cmdClose_Click();

private:
    quint64 m_rowKey = 0;
};
