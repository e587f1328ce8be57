#pragma once
// Edit ID3 Tag: both tags of one MPEG audio file of the main playlist, its lyrics and its
// properties, in four sections of which one shows at a time. Update writes the ID3v1 tag
// and the ID3v2 frames whose boxes the user changed; every other frame stays as it was read.
#include "library/OrganiseDialog.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class SectionSelector;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class ctlQX_3DPanel;
class ctlQX_noFocusPanel;

class FrmEditTag : public OrganiseDialog {
    Q_OBJECT
public:
    FrmEditTag();

    // Comments: index 0 a line in the ID3v1 section, index 1 several lines in the ID3v2 one.
    struct CommentBoxes {
        QLineEdit* line = nullptr;
        QPlainTextEdit* page = nullptr;
        QString text(int index) const;
        void setText(int index, const QString& text);
        QWidget* operator[](int index) const;
    };

    QLineEdit* txtFilename;
    QPushButton* cmdRename;
    // Index 0 in the ID3v1 section, index 1 in the ID3v2 section.
    std::array<QLineEdit*, 2> txtArtist{};
    std::array<QLineEdit*, 2> txtTitle{};
    std::array<QLineEdit*, 2> txtAlbum{};
    std::array<QLineEdit*, 2> txtYear{};
    CommentBoxes txtComments;
    QComboBox* cmbGenre;
    QLineEdit* txtTrack;
    QLineEdit* txtOrgArtist;
    QLineEdit* txtComposer;
    QLineEdit* txtCopyright;
    QPlainTextEdit* txtLyrics;
    QLabel* lblSize;
    QLabel* lblSizeMB;
    QLabel* lblFileDateTime;
    QLabel* lblReadOnly;
    QLabel* lblHidden;
    QLabel* lblLength;

    // The sections, indexed as their labels: 0 ID3v1, 1 ID3v2, 2 Lyrics, 3 Properties.
    ctlQX_noFocusPanel* nfpIDv1TAG;
    ctlQX_noFocusPanel* nfpIDv2TAG;
    ctlQX_noFocusPanel* nfpLyrics;
    ctlQX_noFocusPanel* nfpProperties;
    std::array<ctlQX_3DPanel*, 4> tpSectionSelector{};
    std::array<QLabel*, 4> lblSection{};
    QLabel* lblTitle;

    QPushButton* cmdCopyID32ToID31;
    QPushButton* cmdCopyID31ToID32;
    QPushButton* cmdReload;
    QPushButton* cmdUpdate;
    QPushButton* cmdClose;
    QCheckBox* chkSaveChanges;

    // The section's panel of a label index, and the title the window shows for it.
    ctlQX_noFocusPanel* sectionPanel(int index) const;
    QString sectionTitle(int index) const;

    void window_ShowSection(QWidget* panel, QLabel* sectionLabel, const QString& title);
    // Fills the window from the file; every step that fails is skipped without a word. `row`
    // is the file's row in the main playlist (from 1), kept to while others come and go.
    void window_GetID3Data(const QString& path, int row);

    void lblSection_Click(int index);
    void cmdCopyID31ToID32_Click();
    void cmdCopyID32ToID31_Click();
    void cmdReload_Click();
    void cmdRename_Click();
    void cmdUpdate_Click();
    void cmdClose_Click() override;

    // The row's place now; 0 once it has left the playlist.
    int Row() const;
    // The section shown (its label index), or -1.
    int shownSection() const;

private:
    // The ID3v2 boxes in the order Update sets their properties.
    std::array<QString, 10> id3v2Texts() const;

    quint64 m_rowKey = 0;
    // The genre Update writes when the user leaves the box alone: the song's own, as its
    // ID3v1 tag or else its ID3v2 tag names it, or 255 ("none"), never the first entry the
    // box had to show.
    int m_ownGenre = 255;
    int m_shownGenre = -1;       // the entry the last load left in the box
    bool m_genreChosen = false;  // the user picked an entry, perhaps the one shown
    std::array<QString, 10> m_loadedID3v2;   // what the last load put into the ID3v2 boxes
    SectionSelector* m_sections = nullptr;
};
