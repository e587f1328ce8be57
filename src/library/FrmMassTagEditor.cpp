#include "library/FrmMassTagEditor.h"

#include "common/FrmConsole.h"
#include "common/modControls.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modVB.h"
#include "library/modOrganise.h"
#include "library/modTagEditing.h"
#include "media/ID3v2Format.h"
#include "media/MediaError.h"
#include "media/SyncBatch.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

using namespace veltra;

namespace {
const QString kErrorTitle = QStringLiteral("Mass Tag Editing Error");
const QString kNotEdited = QStringLiteral("This file will not be edited.");

// A message of the run, with the normal pointer while it shows.
void runError(const QString& text)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    msgBox(text, MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
    QApplication::restoreOverrideCursor();
}

// A message about one file of the run.
void fileError(const QString& first, const QString& path) { runError(organise::fileMessage(first, path, kNotEdited)); }

QLabel* wrapped(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}
} // namespace

FrmMassTagEditor::FrmMassTagEditor() : OrganiseDialog(QStringLiteral("FrmMassTagEditor"), QStringLiteral("Mass Tag Editor"))
{
    txtArtist = new QLineEdit(this);
    txtAlbum = new QLineEdit(this);
    txtYear = new QLineEdit(this);
    limitTyping(txtYear, 4);
    txtYear->setMaximumWidth(txtYear->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    txtComments = new QLineEdit(this);
    for (QLineEdit* box : {txtArtist, txtAlbum, txtYear, txtComments}) useFocusColours(box);
    lstGenre = new QListWidget(this);
    lstGenre->addItems(GenreNames());
    lstGenre->setSelectionMode(QAbstractItemView::SingleSelection);
    lstGenre->setUniformItemSizes(true);
    chkEditID3v2 = new QCheckBox(QStringLiteral("Edit the ID3v2 Tags as well as ID3v1 (slower)..."), this);
    chkClearTitle = new QCheckBox(QStringLiteral("Clear the 'Title' field of each song in the list..."), this);
    chkSaveChanges = new QCheckBox(QStringLiteral("Save current playlist after changes are made..."), this);
    chkSaveChanges->setChecked(true);
    chkCloseWindow = new QCheckBox(QStringLiteral("Close window once the tags have been edited..."), this);
    chkCloseWindow->setChecked(true);
    cmdEditAll = defaultButton(QStringLiteral("&Edit All »"));
    cmdClose = closeButton();
    pbBar = progressBar();
    lblArtist = hiddenLabel();
    lblTitle = hiddenLabel();
    lblAlbum = hiddenLabel();
    lblYear = hiddenLabel();
    lblComments = hiddenLabel();
    nameControls({{txtArtist, "txtArtist"}, {txtAlbum, "txtAlbum"}, {txtYear, "txtYear"}, {txtComments, "txtComments"},
                  {lstGenre, "lstGenre"}, {chkEditID3v2, "chkEditID3v2"}, {chkClearTitle, "chkClearTitle"},
                  {chkSaveChanges, "chkSaveChanges"}, {chkCloseWindow, "chkCloseWindow"}, {cmdEditAll, "cmdEditAll"},
                  {cmdClose, "cmdClose"}, {pbBar, "pbBar"}});

    auto* grid = new QGridLayout;
    int r = 0;
    for (auto [text, box] : {std::pair<const char*, QWidget*>{"Artist:", txtArtist}, {"Album:", txtAlbum}, {"Year:", txtYear},
                             {"Comments:", txtComments}, {"Genre:", lstGenre}}) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        grid->addWidget(label, r, 0, box == lstGenre ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(box, r++, 1);
    }
    grid->setColumnStretch(1, 1);
    lstGenre->setMinimumHeight(controls_HeightForRows(lstGenre, 7));

    auto* id3v2Note = wrapped(QStringLiteral("If the ID3v1 Tag has a Title, it will be copied over to the ID3v2 Tag (unless you "
                                             "have specified to have the Titles cleared)."),
                              this);
    id3v2Note->setContentsMargins(20, 0, 0, 4);
    auto* heading = new QLabel(QStringLiteral("Information:"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* information = wrapped(QStringLiteral("The Title of each song will be left how it was, unless you specify that you want "
                                               "it cleared.  Fields that have nothing entered in them will result in each file "
                                               "having that specific field left the way it was."),
                                this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pbBar, 1);
    buttons->addStretch();
    buttons->addWidget(cmdEditAll);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(chkEditID3v2);
    layout->addWidget(id3v2Note);
    for (QCheckBox* c : {chkClearTitle, chkSaveChanges, chkCloseWindow}) layout->addWidget(c);
    layout->addSpacing(4);
    layout->addWidget(heading);
    layout->addWidget(information);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    // The wrapped notes keep all their lines when a small screen squeezes the window to its
    // least size, instead of the controls above being drawn over them.
    setMinimumWidth(460);
    const int inner = 460 - layout->contentsMargins().left() - layout->contentsMargins().right();
    for (QLabel* note : {id3v2Note, information}) note->setMinimumHeight(note->heightForWidth(inner));
    resize(460, sizeHint().height());

    connect(cmdEditAll, &QPushButton::clicked, this, [this] { cmdEditAll_Click(); });
}

void FrmMassTagEditor::setInputsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{txtArtist, txtAlbum, txtYear, lstGenre, txtComments, chkEditID3v2,
                                                      chkClearTitle, chkSaveChanges, chkCloseWindow})
        w->setEnabled(enabled);
}

void FrmMassTagEditor::cmdEditAll_Click()
{
    if (Running()) return;   // a click or Enter while a run goes starts nothing
    const QModelIndexList chosen = lstGenre->selectionModel()->selectedRows();
    if (chosen.isEmpty()) {
        msgBox(organise::message(QStringLiteral("It has been detected that you have not selected a Genre."),
                                 QStringLiteral("This function will not be proformed.")),
               MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
        lstGenre->setFocus();
        return;
    }
    if (msgBox(organise::message(QStringLiteral("All of the songs in the main window will have there tags updated to the "
                                                "details entered."),
                                 QStringLiteral("Do you wish to continue?")),
               MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Mass Tag Editing Confirmation"))
        != MsgResult::Yes)
        return;

    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& rows = main.rows();
    FrmConsole& console = forms().get<FrmConsole>();
    {
        RunGuard run(*this);
        // The songs reach the disk together at the end: one flush instead of one per song.
        media::SyncBatch batch;
        setInputsEnabled(false);
        const int n = rows.count();
        pbBar->setMaximum(n);
        pbBar->setValue(0);
        pbBar->show();
        for (int i = 1; i <= n; ++i) {
            vb::DoEventsThrottled();
            pbBar->setValue(i);
            // Message boxes let other events run: a row may be gone by now.
            if (i > rows.count()) continue;
            const QString path = rows.subItem(i, PlaylistColumn::Filename);
            if (!path.isEmpty() && main.wmpPlayer().FileName() == path) {
                fileError(QStringLiteral("It has been detected that the song you are trying to edit is being used by ")
                              + programfolder::title() + u':',
                          path);
                continue;
            }
            if (!files_FileExists(path)) {
                fileError(QStringLiteral("It has been detected that the song you are trying to edit does not exist:"), path);
                continue;
            }
            if (!organise::isMpegAudio(path)) continue;
            QString refusal;
            const Edit edit = editFile(path, batch, refusal);
            if (edit == Edit::None) continue;
            if (edit == Edit::ID3v1Only) {
                reportID3v1Only(path, i, kErrorTitle, refusal);
                continue;
            }
            main.playlist_UpdateItem(i, false);
            console.window_WriteLog(path + QStringLiteral(" ID3 tag modified."));
        }
        // The system took every write, but the disk may still fail some of them.
        if (!batch.finish())
            runError(organise::message(QStringLiteral("It has been detected that not all of the changed tags could be written to the disk (")
                                           + MediaError::fromErrno(batch.error(), programfolder::exeName()).description() + QStringLiteral(")."),
                                       QStringLiteral("Check the disk, then edit the songs again.")));
        savePlaylistIf(chkSaveChanges->isChecked());
        if (!chkCloseWindow->isChecked()) setInputsEnabled(true);
    }
    if (chkCloseWindow->isChecked()) unloadForm<FrmMassTagEditor>();
}

FrmMassTagEditor::Edit FrmMassTagEditor::editFile(const QString& path, media::SyncBatch& batch, QString& refusal)
{
    QString kept[tags::TextCount];
    try {
        clsID3v1 v1;
        v1.setFilename(path);
        kept[tags::Artist] = v1.Artist();
        kept[tags::Title] = v1.Title();
        kept[tags::Album] = v1.Album();
        kept[tags::Year] = v1.Year();
        kept[tags::Comment] = v1.Comment();
    } catch (const MediaError&) {
        // unreadable: the ID3v1 write below fails and says so
    }
    lblArtist->setText(kept[tags::Artist]);
    lblTitle->setText(kept[tags::Title]);
    lblAlbum->setText(kept[tags::Album]);
    lblYear->setText(kept[tags::Year]);
    lblComments->setText(kept[tags::Comment]);

    const bool clearTitle = chkClearTitle->isChecked();
    auto entered = [](const QLineEdit* box, const QString& v1Value) { return box->text().isEmpty() ? v1Value : box->text(); };
    ID3v1Fields fields;
    fields.Artist = entered(txtArtist, lblArtist->text());
    fields.Album = entered(txtAlbum, lblAlbum->text());
    fields.Year = entered(txtYear, lblYear->text());
    fields.Comment = entered(txtComments, lblComments->text());
    fields.Title = clearTitle ? QString() : lblTitle->text();
    fields.Genre = quint8(lstGenre->selectionModel()->selectedRows().value(0).row());
    // The ID3v2 tag is read before anything is written: one that cannot be written over
    // leaves the song as it is, ID3v1 tag included.
    const bool editID3v2 = chkEditID3v2->isChecked();
    clsID3v2 v2;
    std::optional<MediaError> unread;
    if (editID3v2) {
        try {
            v2.setFilename(path);
        } catch (const MediaError& e) {
            unread = e;   // the ID3v1 write is still tried, and says its own failure
        }
        if (const QString why = v2.OverwriteRefusal(); !why.isEmpty()) {
            fileError(why, path);
            return Edit::None;
        }
    }
    // ID3v2: an entered text replaces the frame; an empty box leaves it as it is, unless the
    // frame is empty and the ID3v1 tag has the text. So no ID3v2 text is cut to 30 characters.
    bool changed = false;
    if (editID3v2 && !unread) {
        auto apply = [&](tags::Text which, const QString& value) {
            if (tags::text(v2, which) == value) return;
            tags::setText(v2, which, value);
            changed = true;
        };
        // A recording time that is no timestamp gives no year but is the song's date all the same.
        auto empty = [&](tags::Text which) {
            return tags::text(v2, which).isEmpty() && (which != tags::Year || v2.TagsInFrame(QStringLiteral("TDRC")) == 0);
        };
        auto fill = [&](tags::Text which, const QLineEdit* box) {
            if (box && !box->text().isEmpty()) apply(which, box->text());
            else if (empty(which) && !kept[which].isEmpty()) apply(which, kept[which]);
        };
        fill(tags::Artist, txtArtist);
        fill(tags::Album, txtAlbum);
        fill(tags::Year, txtYear);
        fill(tags::Comment, txtComments);
        if (clearTitle) apply(tags::Title, QString());
        else fill(tags::Title, nullptr);
    }
    switch (tags::writeTags(path, fields, changed ? &v2 : nullptr, &batch, &refusal)) {
    case tags::Written::Nothing:
        fileError(tags::writeFailedText(), path);
        return Edit::None;
    case tags::Written::ID3v1Only: return Edit::ID3v1Only;
    case tags::Written::All: break;
    }
    return unread ? Edit::ID3v1Only : Edit::Done;
}

void FrmMassTagEditor::cmdClose_Click()
{
    if (Running()) return;
    unloadForm<FrmMassTagEditor>();
}
