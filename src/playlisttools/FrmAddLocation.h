#pragma once
// Add Location: every MPEG audio file of a folder and of the folders below it, added to the
// main playlist or to the media library's working list, with a history of the folders used
// (locations.log in the program folder, one folder per line). Loaded afresh for each opening;
// the opener sets LocationTarget first.
#include "common/ToolDialog.h"

class QComboBox;
class QLabel;
class ctlQX_wLine3D;

class FrmAddLocation : public ToolDialog {
    Q_OBJECT
public:
    FrmAddLocation();

    // Where the files go; any other value adds nothing but still records the folder.
    enum Target { MainPlaylist = 0, MediaLibrary = 1 };
    int LocationTarget = MainPlaylist;

    QLabel* lblText = nullptr;
    QComboBox* cmbLocation = nullptr;   // editable; its list is the history
    QPushButton* cmdBrowse = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    QPushButton* cmdAdd = nullptr;

    void Form_Load();
    void cmdBrowse_Click();
    void cmdAdd_Click();

    // The history file; its newest kLocationsShown lines make the drop-down list.
    static QString locationsFile();
    static constexpr int kLocationsShown = 1000;
};
