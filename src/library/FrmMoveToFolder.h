#pragma once
// Move Music To Folder: the MP3, MP2 and MP1 files of the main playlist whose artist, album
// or year equals a search text are moved or copied into one folder; the results list
// collects them over the runs of one opening.
#include "library/OrganiseDialog.h"

#include <array>

class ListView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class ctlQX_3DPanel;

class FrmMoveToFolder : public OrganiseDialog {
    Q_OBJECT
public:
    FrmMoveToFolder();

    std::array<QLabel*, 2> lblText{};
    std::array<QRadioButton*, 3> opOptions{};
    QLineEdit* txtSearch;
    QLineEdit* txtDestination;
    QPushButton* cmbBrowse;
    QCheckBox* chkSearchID3v2;
    QCheckBox* chkCopyFiles;
    QCheckBox* chkShowFiles;
    QCheckBox* chkCloseWindow;
    QPushButton* cmdMove;
    QPushButton* cmdClose;
    ctlQX_3DPanel* qxpSearchResults;
    ListView* lstvItems;
    QLabel* lblMusicMoved;
    QProgressBar* pbBar;
    QLabel* lblArtist;
    QLabel* lblTitle;
    QLabel* lblAlbum;
    QLabel* lblYear;

    void opOptions_Click(int index);
    void cmbBrowse_Click();
    void cmdMove_Click();
    void cmdClose_Click() override;
    void results_AddItem(const QString& artist, const QString& title);

    // The search option last chosen: 0 artist, 1 album, 2 year.
    int SearchOption() const { return m_option; }

private:
    void setControlsEnabled(bool enabled);
    // The run over the playlist, files going into `folder` (an existing folder).
    void moveMatching(const QString& folder);

    int m_option = 0;
};
