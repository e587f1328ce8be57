#pragma once
// Create Random Songs Playlist: a new playlist file of a chosen number of distinct rows of
// the main playlist, drawn at random, named as the user types it. The main playlist is left
// as it is; afterwards the dialog is ready for the next playlist, or closes.
#include "common/ToolDialog.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class OptionButtons;
class ctlQX_wLine3D;

class FrmRandomSongsPlaylist : public ToolDialog {
    Q_OBJECT
public:
    FrmRandomSongsPlaylist();

    enum Option { ResetWindow = 0, CloseWindow = 1 };
    // The choices of cmbOptions; the second leaves the rows set to "Skip" out.
    enum SongChoice { UseAllSongs = 0, DontUseSkipped = 1 };

    std::array<QLabel*, 3> lblText{};
    QLineEdit* txtPlaylistName = nullptr;
    QLineEdit* txtSongCount = nullptr;
    QComboBox* cmbOptions = nullptr;
    OptionButtons* opOptions = nullptr;       // after creating: reset, close
    QPushButton* cmdCreate = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D2 = nullptr;
    int SelectedOption = ResetWindow;

    void Form_Load();
    void opOptions_Click(int index);
    void cmdCreate_Click();
    void cmdClose_Click();
};
