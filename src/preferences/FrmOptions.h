#pragma once
// The start-up options, shown when the program starts with the desktop session
// ("/systray /winload"): play a chosen saved playlist, play the playlist last used, or do
// nothing; a check box stops the window from coming again. Loaded afresh for each showing.
#include "common/ToolDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class ctlQX_wLine3D;

class FrmOptions : public ToolDialog {
    Q_OBJECT
public:
    FrmOptions();

    // The combo's first entry: no playlist chosen.
    static constexpr const char* NoPlaylist = "((Select Playlist))";

    QRadioButton* opOption[3] = {};   // play this playlist, play the last one, do nothing
    QLabel* lblText = nullptr;
    QComboBox* cmbPlaylist = nullptr;
    QLabel* lblPlaylist = nullptr;    // hidden: the chosen playlist's path while Next runs
    QCheckBox* chkOption = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D2 = nullptr;
    QPushButton* cmdNext = nullptr;

    void Form_Load();
    void chkOption_Click();
    void cmdNext_Click();
    void cmdClose_Click();

private:
    void options_FillPlaylists();
    // The chosen playlist replaces the main playlist and plays from row 1; false (the main
    // playlist untouched) when nothing was chosen or the file does not load.
    bool playChosenPlaylist();
};
