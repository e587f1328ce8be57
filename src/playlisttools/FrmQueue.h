#pragma once
// Advanced Queue: gives every playlist row of one artist, album, year or genre the same play
// status at once. Its only output is the rows' Status column.
#include "common/ToolDialog.h"

class OptionButtons;
class QCheckBox;

class FrmQueue : public ToolDialog {
    Q_OBJECT
public:
    FrmQueue();

    enum Criterion { ByArtist = 0, ByAlbum = 1, ByYear = 2, ByGenre = 3 };

    QComboBox* cmbSearch = nullptr;          // the value; its list offers the criterion's values
    OptionButtons* opOptions = nullptr;      // the criterion
    QComboBox* cmbOption = nullptr;          // the status to write
    QCheckBox* chkSearchID3v2 = nullptr;
    QCheckBox* chkCloseWindow = nullptr;
    QPushButton* cmdUpdate = nullptr;

    void Form_Load();
    void opOptions_Click(int index);
    void cmdUpdate_Click();
    int criterion() const { return m_criterion; }

private:
    int m_criterion = ByArtist;
};
