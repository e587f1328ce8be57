#pragma once
// Generate Playlist: a new playlist file of the main playlist's rows that share one artist,
// album or year with the criteria typed, named after the criteria; opened in the main window
// afterwards when asked.
#include "common/ToolDialog.h"

#include <optional>

class ListView;
class OptionButtons;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class ctlQX_3DPanel;
class ctlQX_wLine3D;

class FrmGeneratePlaylist : public ToolDialog {
    Q_OBJECT
public:
    FrmGeneratePlaylist();

    enum Option { ArtistName = 0, AlbumName = 1, YearProduced = 2 };

    QLabel* Label1 = nullptr;
    QLineEdit* txtCriteria = nullptr;
    OptionButtons* opOptions = nullptr;       // Artist, Album, Year
    ctlQX_3DPanel* qxpSearchResults = nullptr;
    QLabel* lblSearchResults = nullptr;
    ListView* lstvItems = nullptr;            // "Number:", "Artist", "Title:" of the rows written
    QCheckBox* chkUseID3v2 = nullptr;
    QCheckBox* chkOpenPlaylist = nullptr;
    QProgressBar* pbBar = nullptr;
    QPushButton* cmdCreate = nullptr;
    QLabel* lblAlbum = nullptr;               // hidden: the album read from a tag
    ctlQX_wLine3D* ctlQX_wLine3D1 = nullptr;
    ctlQX_wLine3D* ctlQX_wLine3D2 = nullptr;
    int SelectedOption = ArtistName;

    void Form_Load();
    void opOptions_Click(int index);
    void cmdCreate_Click();
    void cmdClose_Click();
    void results_AddItem(const QString& artist, const QString& title);

private:
    // The field compared for the row's file: its tag's album, or nothing for a file that is
    // not MPEG audio.
    std::optional<QString> albumOf(const QString& file);
};
