#include "library/FrmEditTag.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/SectionSelector.h"
#include "common/modFiles.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "library/FrmRename.h"
#include "library/modOrganise.h"
#include "library/modTagEditing.h"
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace veltra;

namespace {
const QString kErrorTitle = QStringLiteral("Updating Song ID3 Error");
const char* const kSectionCaptions[4] = {"View ID3v1 »", "View ID3v2 »", "View Lyrics »", "View Properties »"};

void refuse(const QString& first, QWidget* focus = nullptr)
{
    msgBox(organise::message(first, QStringLiteral("This function will not be proformed.")), MsgButtons::OK,
           MsgIcon::Exclamation, kErrorTitle);
    if (focus) focus->setFocus();
}

QLabel* caption(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* valueLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPlainTextEdit* pageBox(QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    return box;
}

// A grid of captioned rows inside a section panel.
QGridLayout* sectionGrid(QWidget* panel)
{
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setColumnStretch(1, 1);
    return grid;
}
} // namespace

QString FrmEditTag::CommentBoxes::text(int index) const
{
    return index == 0 ? line->text() : tags::fromBoxLines(page->toPlainText());
}

void FrmEditTag::CommentBoxes::setText(int index, const QString& text)
{
    if (index == 0) line->setText(text);
    else page->setPlainText(tags::toBoxLines(text));
}

QWidget* FrmEditTag::CommentBoxes::operator[](int index) const
{
    return index == 0 ? static_cast<QWidget*>(line) : page;
}

FrmEditTag::FrmEditTag() : OrganiseDialog(QStringLiteral("FrmEditTag"), QStringLiteral("Edit ID3 Tag"))
{
    txtFilename = new QLineEdit(this);
    txtFilename->setReadOnly(true);
    cmdRename = new QPushButton(QStringLiteral("»"), this);
    cmdRename->setToolTip(QStringLiteral("Rename"));
    cmdRename->setAutoDefault(false);
    cmdRename->setFixedWidth(cmdRename->sizeHint().height() + 4);

    // ---- the sections ----
    nfpIDv1TAG = new ctlQX_noFocusPanel(this);
    nfpIDv2TAG = new ctlQX_noFocusPanel(this);
    nfpLyrics = new ctlQX_noFocusPanel(this);
    nfpProperties = new ctlQX_noFocusPanel(this);
    for (int i = 0; i < 2; ++i) {
        QWidget* panel = i == 0 ? nfpIDv1TAG : nfpIDv2TAG;
        txtArtist[size_t(i)] = new QLineEdit(panel);
        txtTitle[size_t(i)] = new QLineEdit(panel);
        txtAlbum[size_t(i)] = new QLineEdit(panel);
        txtYear[size_t(i)] = new QLineEdit(panel);
        limitTyping(txtYear[size_t(i)], 4);
    }
    for (QLineEdit* box : {txtArtist[0], txtTitle[0], txtAlbum[0]}) limitTyping(box, 30);
    txtComments.line = new QLineEdit(nfpIDv1TAG);
    limitTyping(txtComments.line, 30);
    txtComments.page = pageBox(nfpIDv2TAG);
    cmbGenre = new QComboBox(nfpIDv1TAG);
    cmbGenre->addItems(GenreNames());
    cmbGenre->setCurrentIndex(-1);
    cmbGenre->setMaxVisibleItems(16);
    txtTrack = new QLineEdit(nfpIDv2TAG);
    limitTyping(txtTrack, 4);
    txtOrgArtist = new QLineEdit(nfpIDv2TAG);
    txtComposer = new QLineEdit(nfpIDv2TAG);
    txtCopyright = new QLineEdit(nfpIDv2TAG);
    txtLyrics = pageBox(nfpLyrics);
    for (QLineEdit* box : {txtArtist[0], txtTitle[0], txtAlbum[0], txtYear[0], txtComments.line, txtArtist[1], txtTitle[1],
                           txtAlbum[1], txtYear[1], txtTrack, txtOrgArtist, txtComposer, txtCopyright})
        useFocusColours(box);
    useFocusColours(txtComments.page);

    {
        QGridLayout* g = sectionGrid(nfpIDv1TAG);
        int r = 0;
        for (auto [text, box] : {std::pair<const char*, QWidget*>{"Artist:", txtArtist[0]}, {"Title:", txtTitle[0]},
                                 {"Album:", txtAlbum[0]}, {"Year:", txtYear[0]}, {"Genre:", cmbGenre},
                                 {"Comments:", txtComments.line}}) {
            g->addWidget(caption(text, nfpIDv1TAG), r, 0);
            g->addWidget(box, r++, 1);
        }
        txtYear[0]->setMaximumWidth(txtYear[0]->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
        g->setRowStretch(r, 1);
    }
    {
        QGridLayout* g = sectionGrid(nfpIDv2TAG);
        auto* numbers = new QHBoxLayout;
        numbers->addWidget(txtTrack);
        numbers->addSpacing(12);
        numbers->addWidget(caption("Year:", nfpIDv2TAG));
        numbers->addWidget(txtYear[1]);
        numbers->addStretch(1);
        for (QLineEdit* box : {txtTrack, txtYear[1]})
            box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
        g->addWidget(caption("Track:", nfpIDv2TAG), 0, 0);
        g->addLayout(numbers, 0, 1);
        int r = 1;
        for (auto [text, box] : {std::pair<const char*, QWidget*>{"Artist:", txtArtist[1]}, {"Title:", txtTitle[1]},
                                 {"Album:", txtAlbum[1]}, {"Org. Artist:", txtOrgArtist}, {"Composer:", txtComposer},
                                 {"Copyright:", txtCopyright}}) {
            g->addWidget(caption(text, nfpIDv2TAG), r, 0);
            g->addWidget(box, r++, 1);
        }
        g->addWidget(caption("Comments:", nfpIDv2TAG), r, 0, Qt::AlignTop);
        g->addWidget(txtComments.page, r, 1);
        g->setRowStretch(r, 1);
    }
    {
        auto* v = new QVBoxLayout(nfpLyrics);
        v->setContentsMargins(4, 4, 4, 4);
        v->addWidget(caption("Lyrics:", nfpLyrics));
        v->addWidget(txtLyrics, 1);
    }
    {
        QGridLayout* g = sectionGrid(nfpProperties);
        lblSize = valueLabel(nfpProperties);
        lblSizeMB = valueLabel(nfpProperties);
        lblFileDateTime = valueLabel(nfpProperties);
        lblReadOnly = valueLabel(nfpProperties);
        lblHidden = valueLabel(nfpProperties);
        lblLength = valueLabel(nfpProperties);
        int r = 0;
        for (auto [text, label] : {std::pair<const char*, QLabel*>{"File Size:", lblSize}, {"(In MB):", lblSizeMB},
                                   {"Date/Time:", lblFileDateTime}, {"Read-Only:", lblReadOnly}, {"Hidden:", lblHidden},
                                   {"Length:", lblLength}}) {
            g->addWidget(caption(text, nfpProperties), r, 0);
            g->addWidget(label, r++, 1);
        }
        g->setColumnMinimumWidth(0, 90);
        g->setRowStretch(r, 1);
    }

    // ---- the section selectors ----
    QStringList captions;
    for (const char* c : kSectionCaptions) captions << QString::fromUtf8(c);
    m_sections = new SectionSelector(this, captions, [this](int i) { lblSection_Click(i); });
    for (int i = 0; i < 4; ++i) {
        tpSectionSelector[size_t(i)] = m_sections->panel(i);
        lblSection[size_t(i)] = m_sections->label(i);
    }
    QVBoxLayout* selectors = m_sections->column();
    selectors->addSpacing(10);
    cmdCopyID32ToID31 = new QPushButton(QStringLiteral("ID3v2 To ID3v1"), this);
    cmdCopyID31ToID32 = new QPushButton(QStringLiteral("ID3v1 To ID3v2"), this);
    for (QPushButton* b : {cmdCopyID32ToID31, cmdCopyID31ToID32}) {
        b->setAutoDefault(false);
        selectors->addWidget(b);
    }
    selectors->addStretch(1);

    lblTitle = new QLabel(this);
    lblTitle->setTextFormat(Qt::PlainText);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    // The four sections share one place, as large as the largest needs.
    auto* sections = new QGridLayout;
    QSize room;
    for (ctlQX_noFocusPanel* p : {nfpIDv1TAG, nfpIDv2TAG, nfpLyrics, nfpProperties}) {
        sections->addWidget(p, 0, 0);
        room = room.expandedTo(p->sizeHint());
    }
    nfpIDv1TAG->setMinimumSize(room);

    cmdReload = new QPushButton(QStringLiteral("« &Reload"), this);
    cmdReload->setAutoDefault(false);
    cmdUpdate = defaultButton(QStringLiteral("&Update »"));
    cmdClose = closeButton();
    chkSaveChanges = new QCheckBox(QStringLiteral("Save current playlist after changes are made..."), this);
    chkSaveChanges->setChecked(true);

    nameControls({{txtFilename, "txtFilename"}, {cmdRename, "cmdRename"}, {cmbGenre, "cmbGenre"}, {txtTrack, "txtTrack"},
                  {txtOrgArtist, "txtOrgArtist"}, {txtComposer, "txtComposer"}, {txtCopyright, "txtCopyright"},
                  {txtLyrics, "txtLyrics"}, {nfpIDv1TAG, "nfpIDv1TAG"}, {nfpIDv2TAG, "nfpIDv2TAG"}, {nfpLyrics, "nfpLyrics"},
                  {nfpProperties, "nfpProperties"}, {lblTitle, "lblTitle"}, {cmdCopyID32ToID31, "cmdCopyID32ToID31"},
                  {cmdCopyID31ToID32, "cmdCopyID31ToID32"}, {cmdReload, "cmdReload"}, {cmdUpdate, "cmdUpdate"},
                  {cmdClose, "cmdClose"}, {chkSaveChanges, "chkSaveChanges"}, {lblSize, "lblSize"},
                  {lblSizeMB, "lblSizeMB"}, {lblFileDateTime, "lblFileDateTime"}, {lblReadOnly, "lblReadOnly"},
                  {lblHidden, "lblHidden"}, {lblLength, "lblLength"}});

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(caption("Filename:", this));
    fileRow->addWidget(txtFilename, 1);
    fileRow->addWidget(cmdRename);
    auto* right = new QVBoxLayout;
    right->addWidget(lblTitle);
    right->addLayout(sections, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(selectors);
    middle->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdReload);
    buttons->addStretch(1);
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(middle, 1);
    layout->addWidget(chkSaveChanges);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());

    connect(cmdRename, &QPushButton::clicked, this, [this] { cmdRename_Click(); });
    connect(cmdCopyID32ToID31, &QPushButton::clicked, this, [this] { cmdCopyID32ToID31_Click(); });
    connect(cmdCopyID31ToID32, &QPushButton::clicked, this, [this] { cmdCopyID31ToID32_Click(); });
    connect(cmdReload, &QPushButton::clicked, this, [this] { cmdReload_Click(); });
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
    connect(cmbGenre, &QComboBox::activated, this, [this] { m_genreChosen = true; });

    // Tab goes down each section as its boxes stand, then to the check box above the buttons.
    const std::initializer_list<std::initializer_list<QWidget*>> tabOrders = {
        {txtArtist[0], txtTitle[0], txtAlbum[0], txtYear[0], cmbGenre, txtComments.line},
        {txtTrack, txtYear[1], txtArtist[1], txtTitle[1], txtAlbum[1], txtOrgArtist, txtComposer, txtCopyright, txtComments.page},
        {cmdCopyID31ToID32, chkSaveChanges, cmdReload},
    };
    for (const auto& order : tabOrders)
        for (auto it = order.begin(); it + 1 != order.end(); ++it) setTabOrder(*it, *(it + 1));

    window_ShowSection(nfpIDv1TAG, lblSection[0], sectionTitle(0));
    m_loadedID3v2 = id3v2Texts();
}

ctlQX_noFocusPanel* FrmEditTag::sectionPanel(int index) const
{
    switch (index) {
    case 0: return nfpIDv1TAG;
    case 1: return nfpIDv2TAG;
    case 2: return nfpLyrics;
    case 3: return nfpProperties;
    default: return nullptr;
    }
}

QString FrmEditTag::sectionTitle(int index) const { return m_sections->heading(index); }

int FrmEditTag::shownSection() const
{
    for (int i = 0; i < 4; ++i)
        if (!sectionPanel(i)->isHidden()) return i;
    return -1;
}

void FrmEditTag::window_ShowSection(QWidget* panel, QLabel* sectionLabel, const QString& title)
{
    for (int i = 0; i < 4; ++i) sectionPanel(i)->hide();
    m_sections->highlight(sectionLabel);
    lblTitle->setText(title);
    if (panel) panel->show();
}

void FrmEditTag::lblSection_Click(int index)
{
    if (index < 0 || index > 3) return;
    window_ShowSection(sectionPanel(index), lblSection[size_t(index)], sectionTitle(index));
    QWidget* focus[4] = {txtArtist[0], txtTrack, txtLyrics, nullptr};
    if (focus[index]) focus[index]->setFocus();
}

std::array<QString, 10> FrmEditTag::id3v2Texts() const
{
    return {txtArtist[1]->text(), txtTitle[1]->text(),   txtAlbum[1]->text(),   txtYear[1]->text(),
            txtComments.text(1),  txtTrack->text(),      txtOrgArtist->text(),  txtComposer->text(),
            txtCopyright->text(), tags::fromBoxLines(txtLyrics->toPlainText())};
}

void FrmEditTag::window_GetID3Data(const QString& path, int row)
{
    txtFilename->setText(path);
    if (!files_FileExists(path)) {
        txtArtist[0]->setText(QStringLiteral("[None]"));
        txtTitle[0]->setText(QStringLiteral("[None]"));
        for (QLineEdit* box : {txtAlbum[0], txtYear[0], txtComments.line, txtArtist[1], txtTitle[1], txtAlbum[1], txtYear[1]})
            box->clear();
        txtComments.page->clear();
        m_loadedID3v2 = id3v2Texts();
        return;
    }
    int ownGenre = -1;
    try {
        clsID3v1 v1;
        v1.setFilename(path);
        txtArtist[0]->setText(v1.Artist());
        txtTitle[0]->setText(v1.Title());
        txtAlbum[0]->setText(v1.Album());
        txtYear[0]->setText(v1.Year());
        const int genre = cmbGenre->findText(v1.Genre(), Qt::MatchExactly);
        if (genre >= 0) cmbGenre->setCurrentIndex(genre);
        ownGenre = genre;
        txtComments.setText(0, v1.Comment());
    } catch (const MediaError&) {
    }
    try {
        clsID3v2 v2;
        v2.setFilename(path);
        txtArtist[1]->setText(v2.Artist());
        txtTitle[1]->setText(v2.Title());
        txtAlbum[1]->setText(v2.Album());
        txtYear[1]->setText(v2.Year());
        txtComments.setText(1, tags::withoutNuls(v2.Comment()));
        txtTrack->setText(v2.Track());
        txtOrgArtist->setText(v2.OriginalArtist());
        txtComposer->setText(v2.Composer());
        txtCopyright->setText(v2.Copyright());
        txtLyrics->setPlainText(tags::toBoxLines(v2.Lyrics()));
        if (ownGenre < 0) ownGenre = tags::genreNumber(v2.id3v2_GetTagText(QStringLiteral("TCON"), 1));
    } catch (const MediaError&) {
    }
    m_loadedID3v2 = id3v2Texts();

    const QFileInfo info(path);
    lblSize->setText(files_GetFileSizeText(path));
    lblSizeMB->setText(files_GetFileSizeDisplay(path, true));
    lblFileDateTime->setText(QLocale().toString(info.lastModified(), QLocale::ShortFormat));
    lblReadOnly->setText(info.isWritable() ? QStringLiteral("False") : QStringLiteral("True"));
    lblHidden->setText(info.fileName().startsWith(u'.') ? QStringLiteral("True") : QStringLiteral("False"));
    media_ReadMP3Info(path);
    if (!MP3Duration().isEmpty()) lblLength->setText(media_FormatTime(qint32(vb::Val(MP3Duration()))));
    m_rowKey = forms().get<FrmMain>().rows().rowKey(row);
    m_ownGenre = ownGenre >= 0 ? ownGenre : 255;
    if (cmbGenre->currentIndex() < 0) cmbGenre->setCurrentIndex(ownGenre >= 0 ? ownGenre : 0);
    m_shownGenre = cmbGenre->currentIndex();
}

void FrmEditTag::cmdCopyID31ToID32_Click()
{
    for (const auto& boxes : {txtArtist, txtTitle, txtAlbum, txtYear}) boxes[1]->setText(boxes[0]->text());
    txtComments.setText(1, txtComments.text(0));
}

void FrmEditTag::cmdCopyID32ToID31_Click()
{
    for (const auto& boxes : {txtArtist, txtTitle, txtAlbum, txtYear}) boxes[0]->setText(boxes[1]->text());
    txtComments.setText(0, txtComments.text(1));
}

int FrmEditTag::Row() const { return forms().get<FrmMain>().rows().rowOfKey(m_rowKey); }

void FrmEditTag::cmdReload_Click() { window_GetID3Data(txtFilename->text(), Row()); }

void FrmEditTag::cmdRename_Click()
{
    FrmRename& rename = forms().get<FrmRename>();
    rename.Get_Filename(txtFilename->text(), Row());
    unloadForm<FrmEditTag>();
    windows_ShowModal(rename, &forms().get<FrmMain>(), true);
}

void FrmEditTag::cmdUpdate_Click()
{
    if (txtArtist[0]->text().isEmpty())
        return refuse(QStringLiteral("It has been detected that you have not entered an Artist name."), txtArtist[0]);
    if (txtTitle[0]->text().isEmpty())
        return refuse(QStringLiteral("It has been detected that you have not entered a Title."), txtTitle[0]);
    if (cmbGenre->currentIndex() < 0)
        return refuse(QStringLiteral("It has been detected that you have not selected a Genre."), cmbGenre);
    const QString path = txtFilename->text();
    FrmMain& main = forms().get<FrmMain>();
    if (main.wmpPlayer().FileName() == path)
        return refuse(QStringLiteral("It has been detected that the song you are trying to edit is being used by ")
                      + programfolder::title() + u'.');
    if (files_HasAttribute(path, 1))
        return refuse(QStringLiteral("It has been detected that the song you are trying to edit is Read-Only."));

    ID3v1Fields fields;
    fields.Title = txtTitle[0]->text();
    fields.Artist = txtArtist[0]->text();
    fields.Album = txtAlbum[0]->text();
    fields.Year = txtYear[0]->text();
    fields.Comment = txtComments.text(0);
    const bool genreChosen = m_genreChosen || cmbGenre->currentIndex() != m_shownGenre;
    fields.Genre = quint8(genreChosen ? cmbGenre->currentIndex() : m_ownGenre);
    // An ID3v2 tag that cannot be written over stops the update before either tag is written.
    if (id3v2Texts() != m_loadedID3v2)
        if (const QString why = tags::overwriteRefusal(path); !why.isEmpty()) return refuse(why);
    // Only the frames whose boxes the user changed are set: the others keep what was read.
    // A failure is said as it is, and the window stays with the edits for another try.
    QString refusal;
    switch (tags::saveChangedFrames(path, fields, m_loadedID3v2, id3v2Texts(), &refusal)) {
    case tags::Written::Nothing: return refuse(tags::writeFailedText());
    case tags::Written::ID3v1Only: return reportID3v1Only(path, Row(), kErrorTitle, refusal);
    case tags::Written::All: break;
    }

    main.playlist_UpdateItem(Row(), false);   // none once the row has left the playlist
    savePlaylistIf(chkSaveChanges->isChecked());
    forms().get<FrmConsole>().window_WriteLog(path + QStringLiteral(" ID3 tag modified."));
    unloadForm<FrmEditTag>();
}

void FrmEditTag::cmdClose_Click() { unloadForm<FrmEditTag>(); }
