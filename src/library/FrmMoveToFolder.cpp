#include "library/FrmMoveToFolder.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modFolders.h"
#include "common/modVB.h"
#include "controls/ctlQX_3DPanel.h"
#include "extras/FrmTracking.h"
#include "library/modOrganise.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
const QString kErrorTitle = QStringLiteral("Move Music To Folder Error");
const QString kNotMoved = QStringLiteral("This file will not be moved/copied.");

void error(const QString& text) { msgBox(text, MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle); }
} // namespace

FrmMoveToFolder::FrmMoveToFolder() : OrganiseDialog(QStringLiteral("FrmMoveToFolder"), QStringLiteral("Move Music To Folder"))
{
    lblText[0] = new QLabel(QStringLiteral("Move music matching this criteria:"), this);
    const char* options[] = {"Search by Artist...", "Search by Album...", "Search by Year..."};
    for (int i = 0; i < 3; ++i) {
        opOptions[size_t(i)] = new QRadioButton(QLatin1String(options[i]), this);
        opOptions[size_t(i)]->setObjectName(QStringLiteral("opOptions%1").arg(i));
        connect(opOptions[size_t(i)], &QRadioButton::clicked, this, [this, i] { opOptions_Click(i); });
    }
    txtSearch = new QLineEdit(this);
    lblText[1] = new QLabel(QStringLiteral("Specify destination folder:"), this);
    txtDestination = new QLineEdit(this);
    cmbBrowse = new QPushButton(QStringLiteral("..."), this);
    cmbBrowse->setAutoDefault(false);
    cmbBrowse->setFixedWidth(cmbBrowse->sizeHint().height() + 8);
    for (QLineEdit* box : {txtSearch, txtDestination}) useFocusColours(box);
    chkSearchID3v2 = new QCheckBox(QStringLiteral("Search ID3v2 Tags over the ID3v1 Tags (slower)..."), this);
    chkCopyFiles = new QCheckBox(QStringLiteral("Only copy the files, do not move them..."), this);
    chkShowFiles = new QCheckBox(QStringLiteral("Show moved files on the main window once completed..."), this);
    chkCloseWindow = new QCheckBox(QStringLiteral("Close this window once the files have been moved/copied..."), this);
    cmdMove = defaultButton(QStringLiteral("&Move »"));
    cmdClose = closeButton();
    qxpSearchResults = new ctlQX_3DPanel(this);
    lstvItems = new ListView(qxpSearchResults);
    lstvItems->setColumns({QStringLiteral("Number:"), QStringLiteral("Artist"), QStringLiteral("Title:")});
    lstvItems->setRootIsDecorated(false);
    controls_SetHeaderStyle(*lstvItems);
    lblMusicMoved = new QLabel(QStringLiteral("Music Moved To Folder:  None"), this);
    pbBar = progressBar();
    lblArtist = hiddenLabel();
    lblTitle = hiddenLabel();
    lblAlbum = hiddenLabel();
    lblYear = hiddenLabel();
    nameControls({{txtSearch, "txtSearch"}, {txtDestination, "txtDestination"}, {cmbBrowse, "cmbBrowse"},
                  {chkSearchID3v2, "chkSearchID3v2"}, {chkCopyFiles, "chkCopyFiles"}, {chkShowFiles, "chkShowFiles"},
                  {chkCloseWindow, "chkCloseWindow"}, {cmdMove, "cmdMove"}, {cmdClose, "cmdClose"},
                  {qxpSearchResults, "qxpSearchResults"}, {lstvItems, "lstvItems"}, {lblMusicMoved, "lblMusicMoved"},
                  {pbBar, "pbBar"}});

    auto* optionRow = new QHBoxLayout;
    for (QRadioButton* o : opOptions) optionRow->addWidget(o);
    optionRow->addStretch();
    auto* destinationRow = new QHBoxLayout;
    destinationRow->addWidget(txtDestination, 1);
    destinationRow->addWidget(cmbBrowse);
    auto* framed = new QVBoxLayout(qxpSearchResults);
    framed->setContentsMargins(2, 2, 2, 2);
    framed->addWidget(lstvItems);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(lblMusicMoved);
    statusRow->addWidget(pbBar, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdMove);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblText[0]);
    layout->addLayout(optionRow);
    layout->addWidget(txtSearch);
    layout->addWidget(lblText[1]);
    layout->addLayout(destinationRow);
    for (QCheckBox* c : {chkSearchID3v2, chkCopyFiles, chkShowFiles, chkCloseWindow}) layout->addWidget(c);
    layout->addWidget(qxpSearchResults, 1);
    layout->addLayout(statusRow);
    layout->addLayout(buttons);
    resize(520, 520);

    connect(cmbBrowse, &QPushButton::clicked, this, [this] { cmbBrowse_Click(); });
    connect(cmdMove, &QPushButton::clicked, this, [this] { cmdMove_Click(); });

    opOptions[0]->setChecked(true);
    opOptions_Click(0);
}

void FrmMoveToFolder::opOptions_Click(int index) { m_option = index; }

void FrmMoveToFolder::cmbBrowse_Click()
{
    const QString folder = directory_Browse(this, QDir::homePath());
    if (!folder.isEmpty()) txtDestination->setText(folder);
}

void FrmMoveToFolder::results_AddItem(const QString& artist, const QString& title)
{
    lstvItems->items().add({QString(), artist, title});
}

void FrmMoveToFolder::setControlsEnabled(bool enabled)
{
    for (QRadioButton* o : opOptions) {
        // "No option chosen" while running: exclusivity would keep one ticked.
        o->setAutoExclusive(enabled);
        if (!enabled) o->setChecked(false);
        o->setEnabled(enabled);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{txtDestination, cmbBrowse, txtSearch, lstvItems, chkSearchID3v2,
                                                      chkCopyFiles, chkShowFiles, chkCloseWindow, cmdMove, cmdClose})
        w->setEnabled(enabled);
    cmdMove->setDefault(enabled);
    if (enabled) opOptions[size_t(m_option)]->setChecked(true);
}

void FrmMoveToFolder::cmdMove_Click()
{
    if (Running()) return;
    const QString destination = txtDestination->text();
    if (destination.isEmpty()) {
        error(organise::message(QStringLiteral("It has been detected that you have not entered/selected a destination folder."),
                                QStringLiteral("Please enter/select a folder destination folder before continuing.")));
        txtDestination->setFocus();
        return;
    }
    if (txtSearch->text().isEmpty()) {
        error(organise::message(QStringLiteral("It has been detected that you have not entered a search criteria."),
                                QStringLiteral("Please enter a search criteria before continuing.")));
        txtSearch->setFocus();
        return;
    }
    if (!directory_Exists(destination)) {
        if (msgBox(organise::message(QStringLiteral("The destination folder that you have specified does not exist."),
                                     QStringLiteral("Do you want to create it?")),
                   MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Create Destination Folder Confirmation"))
            != MsgResult::Yes)
            return;
        QDir().mkpath(destination);   // every missing level
    }
    if (!QFileInfo(destination).isDir()) {
        error(organise::message(QStringLiteral("The destination folder that you have specified could not be created."),
                                QStringLiteral("This function will not continue.")));
        return;
    }
    // The lists are pointed at whole paths, also when the folder was typed relative to ours.
    const QString folder = QDir(destination).absolutePath();

    {
        RunGuard run(*this);
        setControlsEnabled(false);
        moveMatching(folder);
        lblMusicMoved->setText(QStringLiteral("Music Moved To Folder:  ") + vb::FormatNumber(lstvItems->items().count(), QStringLiteral("0#")));
        controls_RenumberItems(*lstvItems);
        if (chkShowFiles->isChecked()) {
            FrmMain& main = forms().get<FrmMain>();
            main.mnuNew_Click();
            main.playlist_AddDirectory(folder, QStringLiteral("mp3"));
            main.playlist_ShowMP3Data(false);
            controls_RenumberItems(main.rows());
        }
        if (!chkCloseWindow->isChecked()) setControlsEnabled(true);
    }
    if (chkCloseWindow->isChecked()) unloadForm<FrmMoveToFolder>();
    else txtDestination->setFocus();
}

void FrmMoveToFolder::moveMatching(const QString& folder)
{
    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& rows = main.rows();
    FrmConsole& console = forms().get<FrmConsole>();
    const QString destination = txtDestination->text();   // the log names it as entered
    const QString search = txtSearch->text().toLower();
    const bool useID3v2 = chkSearchID3v2->isChecked();
    const bool copying = chkCopyFiles->isChecked();
    pbBar->setMaximum(rows.count());
    pbBar->setValue(0);
    pbBar->show();
    // Message boxes let other events run: the row count is read afresh for every row.
    for (int i = 1; i <= rows.count(); ++i) {
        vb::DoEventsThrottled();
        pbBar->setValue(qMin(i, pbBar->maximum()));
        const QString path = rows.subItem(i, PlaylistColumn::Filename);
        if (!organise::isMpegAudio(path)) continue;
        const organise::SongTags tags = organise::readTags(path, useID3v2);
        lblArtist->setText(tags.artist);
        lblTitle->setText(tags.title);
        lblYear->setText(tags.year);
        lblAlbum->setText(tags.album);
        const QString& value = m_option == 0 ? tags.artist : m_option == 1 ? tags.album : tags.year;
        if (value.toLower() != search) continue;

        if (main.wmpPlayer().FileName() == path) {
            error(organise::fileMessage(QStringLiteral("It has been detected that the song you are trying to move/copy is being used by ")
                                            + programfolder::title() + u':',
                                        path, kNotMoved));
            continue;
        }
        if (!files_FileExists(path)) {
            error(organise::fileMessage(QStringLiteral("It has been detected that the song you are trying to move/copy does not exist:"),
                                        path, kNotMoved));
            continue;
        }
        const QString target = (folder == QLatin1String("/") ? QString() : folder) + u'/' + files_GetFileName(path);
        // Never over another file, and never onto the file itself (its own folder). A link
        // holds its name too, even one to nothing: a copy would put the song in its place.
        if (const QFileInfo taken(target); taken.exists() || taken.isSymLink()) {
            error(organise::fileMessage(QStringLiteral("It has been detected that a file of the same name already exists in the destination folder:"),
                                        path, kNotMoved));
            continue;
        }
        if (copying) {
            if (!files_CopyFile(path, target)) continue;
            console.window_WriteLog(path + QStringLiteral(" was copied to ") + destination + u'.');
            results_AddItem(tags.artist, tags.title);
        } else {
            if (!files_MoveFile(path, target)) continue;
            forms().get<FrmTracking>().tracking_UpdateFilename(path, target);
            forms().get<FrmAdjustVolumes>().volumes_UpdateFilename(path, target);
            console.window_WriteLog(path + QStringLiteral(" was moved to ") + destination + u'.');
            results_AddItem(tags.artist, tags.title);
            rows.setSubItem(i, PlaylistColumn::Filename, target);
        }
    }
}

void FrmMoveToFolder::cmdClose_Click() { unloadForm<FrmMoveToFolder>(); }
