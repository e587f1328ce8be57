#pragma once
// Mass Tag Editor: one artist, album, year, comment and genre written into every MPEG audio
// file of the main playlist in one run, into the ID3v1 tag and, when asked, the ID3v2 tag.
// An empty box keeps what the file holds.
#include "library/OrganiseDialog.h"

namespace media {
class SyncBatch;
}

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

class FrmMassTagEditor : public OrganiseDialog {
    Q_OBJECT
public:
    FrmMassTagEditor();

    QLineEdit* txtArtist;
    QLineEdit* txtAlbum;
    QLineEdit* txtYear;
    QLineEdit* txtComments;
    QListWidget* lstGenre;
    QCheckBox* chkEditID3v2;
    QCheckBox* chkClearTitle;
    QCheckBox* chkSaveChanges;
    QCheckBox* chkCloseWindow;
    QPushButton* cmdEditAll;
    QPushButton* cmdClose;
    QProgressBar* pbBar;
    // The ID3v1 texts of the file being edited, kept where a box is empty.
    QLabel* lblArtist;
    QLabel* lblTitle;
    QLabel* lblAlbum;
    QLabel* lblYear;
    QLabel* lblComments;

    void cmdEditAll_Click();
    void cmdClose_Click() override;

private:
    void setInputsEnabled(bool enabled);
    // How far the edit of one file got.
    enum class Edit { None, ID3v1Only, Done };
    // Writes both tags of one file. A failed ID3v1 write, or an ID3v2 tag that must not be
    // written over, is reported here and writes nothing (else); a failed ID3v2 write after
    // the ID3v1 one is left to the caller, who refreshes the row first.
    // An ID3v2 save refused because the tag would lose a frame leaves its reason in `refusal`.
    Edit editFile(const QString& path, media::SyncBatch& batch, QString& refusal);
};
