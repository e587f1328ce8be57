#include "library/FrmRename.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "extras/FrmTracking.h"
#include "library/modOrganise.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
const QString kErrorTitle = QStringLiteral("Renaming Song Filename Error");
const QString kNotPerformed = QStringLiteral("This function will not be proformed.");

void refuse(const QString& first, QWidget* focus)
{
    msgBox(organise::message(first, kNotPerformed), MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
    if (focus) focus->setFocus();
}

QLineEdit* lockedBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);   // the new name is where typing starts
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    box->setPalette(p);
    return box;
}
} // namespace

FrmRename::FrmRename() : OrganiseDialog(QStringLiteral("FrmRename"), QStringLiteral("Rename Song"))
{
    txtDirectory = lockedBox(this);
    txtFilename = lockedBox(this);
    txtNewFilename = new QLineEdit(this);
    useFocusColours(txtNewFilename);
    cmdUseID3 = new QPushButton(QStringLiteral("«"), this);
    cmdUseID3->setToolTip(QStringLiteral("Use ID3 Information"));
    cmdUseID3->setAutoDefault(false);
    cmdUseID3->setFixedWidth(cmdUseID3->sizeHint().height() + 4);
    cmbFilename = patternList();
    chkUseID3v2 = new QCheckBox(QStringLiteral("Use ID3v2 Tag over the ID3v1 Tag..."), this);
    chkMaintain = new QCheckBox(QStringLiteral("Keep the playlist position in the filename..."), this);
    chkSaveChanges = new QCheckBox(QStringLiteral("Save current playlist after changes are made..."), this);
    chkSaveChanges->setChecked(true);
    cmdUpdate = defaultButton(QStringLiteral("&Update »"));
    cmdClose = closeButton();
    lblArtist = hiddenLabel();
    lblTitle = hiddenLabel();
    lblAlbum = hiddenLabel();
    nameControls({{txtDirectory, "txtDirectory"}, {txtFilename, "txtFilename"}, {txtNewFilename, "txtNewFilename"},
                  {cmdUseID3, "cmdUseID3"}, {cmbFilename, "cmbFilename"}, {chkUseID3v2, "chkUseID3v2"},
                  {chkMaintain, "chkMaintain"}, {chkSaveChanges, "chkSaveChanges"}, {cmdUpdate, "cmdUpdate"},
                  {cmdClose, "cmdClose"}});

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Directory:"), this), 0, 0);
    grid->addWidget(txtDirectory, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Filename:"), this), 1, 0);
    grid->addWidget(txtFilename, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("New Filename:"), this), 2, 0);
    grid->addWidget(txtNewFilename, 2, 1);
    grid->addWidget(cmdUseID3, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Customise Filename:"), this), 3, 0);
    grid->addWidget(cmbFilename, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    for (QCheckBox* c : {chkUseID3v2, chkMaintain, chkSaveChanges}) layout->addWidget(c);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());

    connect(cmdUseID3, &QPushButton::clicked, this, [this] { cmdUseID3_Click(); });
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
}

void FrmRename::Get_Filename(const QString& path, int row)
{
    txtDirectory->setText(organise::folderWithSeparator(path));
    txtFilename->setText(files_GetFileName(path));
    txtNewFilename->setText(files_GetFileName(path));
    m_rowKey = forms().get<FrmMain>().rows().rowKey(row);
    // Only MPEG audio has the tags a name is built from.
    const bool tags = organise::isMpegAudio(path);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdUseID3, cmbFilename, chkUseID3v2, chkMaintain}) w->setEnabled(tags);
}

int FrmRename::Row() const { return forms().get<FrmMain>().rows().rowOfKey(m_rowKey); }

void FrmRename::cmdUseID3_Click()
{
    const QString path = txtDirectory->text() + txtFilename->text();
    if (!files_FileExists(path)) {
        msgBox(organise::message(QStringLiteral("It has been detected that the filename you are trying to get the ID3 "
                                                "information from does not exist."),
                                 kNotPerformed),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Getting ID3 Information Error"));
        return;
    }
    const organise::SongTags tags = organise::readTags(path, chkUseID3v2->isChecked());
    lblArtist->setText(tags.artist);
    lblTitle->setText(tags.title);
    lblAlbum->setText(tags.album);
    QString missing;
    const QString name = organise::patternName(tags.artist, tags.title, tags.album, cmbFilename->currentIndex(),
                                               chkMaintain->isChecked(), Row(), path, &missing);
    if (!missing.isEmpty()) {
        // The typed or old name stays: it may be all there is to tell what the song is.
        msgBox(organise::message(QStringLiteral("It has been detected that the song's ")
                                     + (chkUseID3v2->isChecked() ? QStringLiteral("ID3v2") : QStringLiteral("ID3v1"))
                                     + QStringLiteral(" tag has no ") + missing + QStringLiteral(", which the chosen filename uses."),
                                 kNotPerformed),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Getting ID3 Information Error"));
        return;
    }
    txtNewFilename->setText(name);
}

void FrmRename::cmdUpdate_Click()
{
    const QString newName = txtNewFilename->text();
    if (newName.isEmpty()) return refuse(QStringLiteral("It has been detected that you have not entered a new filename."), txtNewFilename);
    const QString old = txtDirectory->text() + txtFilename->text();
    if (!files_FileExists(old))
        return refuse(QStringLiteral("It has been detected that the filename you are trying to rename does not exist."), txtNewFilename);
    // The name the file has already: nothing to change, and nothing failed.
    if (newName == txtFilename->text()) return unloadForm<FrmRename>();
    FrmMain& main = forms().get<FrmMain>();
    if (main.wmpPlayer().FileName() == old)
        return refuse(QStringLiteral("It has been detected that the song you are trying to rename is being used by ")
                          + programfolder::title() + u'.',
                      nullptr);
    if (organise::hasUnsupportedCharacter(newName)) {
        msgBox(QStringLiteral("It has been detected that you have entered a character that is not supported.\r\n\r\n"
                              "You cannot use any of the following characters:\r\n"
                              "\\ / : * ? \" < > |\r\n\r\n")
                   + kNotPerformed + QStringLiteral("\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
        txtNewFilename->setFocus();
        return;
    }
    if (files_HasAttribute(old, 1)
        && msgBox(organise::message(QStringLiteral("It has been detected that the song you are trying to rename is Read-Only."),
                                    QStringLiteral("Do you wish to continue?")),
                  MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Renaming Song Filename Confirmation"))
               != MsgResult::Yes)
        return;

    const QString renamed = txtDirectory->text() + newName;
    if (!files_RenameFile(old, renamed))
        return refuse(QStringLiteral("An error has occur while trying to rename the songs filename.  Make sure that "
                                     "the file is not in use."),
                      nullptr);

    // The file has its new name now: the playlist row follows it whatever else fails.
    try {
        forms().get<FrmTracking>().tracking_UpdateFilename(old, renamed);
        forms().get<FrmAdjustVolumes>().volumes_UpdateFilename(old, renamed);
        forms().get<FrmConsole>().window_WriteLog(QStringLiteral("Filename ") + old + QStringLiteral(" was renamed to ")
                                                  + renamed + u'.');
    } catch (...) {
    }
    // A row that left the playlist while the dialog was open is not replaced by another one.
    if (const int row = Row(); row >= 1) main.rows().setSubItem(row, PlaylistColumn::Filename, renamed);
    savePlaylistIf(chkSaveChanges->isChecked());
    unloadForm<FrmRename>();
}

void FrmRename::cmdClose_Click() { unloadForm<FrmRename>(); }
