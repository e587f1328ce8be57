#include "library/FrmMassRenamer.h"

#include "common/FrmConsole.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modVB.h"
#include "extras/FrmTracking.h"
#include "library/modOrganise.h"
#include "platform/MediaPlayerControl.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "preferences/FrmAdjustVolumes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
const QString kErrorTitle = QStringLiteral("Mass File Renaming Error");
const QString kNotRenamed = QStringLiteral("This file will not be renamed.");

// "1 song was", "3 songs were" ...
QString songsWere(int n) { return n == 1 ? QStringLiteral("1 song was") : QString::number(n) + QStringLiteral(" songs were"); }
QString were(int n) { return QString::number(n) + (n == 1 ? QStringLiteral(" was") : QStringLiteral(" were")); }
} // namespace

FrmMassRenamer::FrmMassRenamer() : OrganiseDialog(QStringLiteral("FrmMassRenamer"), QStringLiteral("Mass Renamer"))
{
    cmbFilename = patternList();
    chkUseID3v2 = new QCheckBox(QStringLiteral("Use ID3v2 Tags over the ID3v1 Tags (slower)..."), this);
    chkAddNumbers = new QCheckBox(QStringLiteral("Include playlist position numbers in the filenames..."), this);
    chkSaveChanges = new QCheckBox(QStringLiteral("Save current playlist after changes are made..."), this);
    chkSaveChanges->setChecked(true);
    chkCloseWindow = new QCheckBox(QStringLiteral("Close window once the filenames have been renamed..."), this);
    chkCloseWindow->setChecked(true);
    cmdRename = defaultButton(QStringLiteral("&Rename »"));
    cmdClose = closeButton();
    pbBar = progressBar();
    lblArtist = hiddenLabel();
    lblTitle = hiddenLabel();
    lblAlbum = hiddenLabel();
    nameControls({{cmbFilename, "cmbFilename"}, {chkUseID3v2, "chkUseID3v2"}, {chkAddNumbers, "chkAddNumbers"},
                  {chkSaveChanges, "chkSaveChanges"}, {chkCloseWindow, "chkCloseWindow"}, {cmdRename, "cmdRename"},
                  {cmdClose, "cmdClose"}, {pbBar, "pbBar"}});

    auto* pattern = new QHBoxLayout;
    pattern->addWidget(new QLabel(QStringLiteral("Customise Filename:"), this));
    pattern->addWidget(cmbFilename, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pbBar, 1);
    buttons->addStretch();
    buttons->addWidget(cmdRename);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pattern);
    for (QCheckBox* c : {chkUseID3v2, chkAddNumbers, chkSaveChanges, chkCloseWindow}) layout->addWidget(c);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    resize(460, sizeHint().height());

    connect(cmdRename, &QPushButton::clicked, this, [this] { cmdRename_Click(); });
}

void FrmMassRenamer::setControlsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{cmdRename, cmdClose, cmbFilename, chkUseID3v2, chkAddNumbers,
                                                      chkSaveChanges, chkCloseWindow})
        w->setEnabled(enabled);
    cmdRename->setDefault(enabled);
}

void FrmMassRenamer::cmdRename_Click()
{
    if (Running()) return;
    FrmMain& main = forms().get<FrmMain>();
    ListViewModel& rows = main.rows();
    if (rows.count() == 0) {
        msgBox(organise::message(QStringLiteral("There are no items in the playlist to rename."),
                                 QStringLiteral("Please add some music files before continuing.")),
               MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
        return;
    }
    {
        RunGuard run(*this);
        setControlsEnabled(false);
        pbBar->setMaximum(rows.count());
        pbBar->setValue(0);
        pbBar->show();
        const int pattern = cmbFilename->currentIndex();
        const bool numbered = chkAddNumbers->isChecked();
        const bool useID3v2 = chkUseID3v2->isChecked();
        FrmConsole& console = forms().get<FrmConsole>();
        int renamedCount = 0, alreadyNamed = 0, skipped = 0, failed = 0;
        // Message boxes let other events run: the row count is read afresh for every row.
        for (int i = 1; i <= rows.count(); ++i) {
            vb::DoEventsThrottled();
            pbBar->setValue(qMin(i, pbBar->maximum()));
            const QString path = rows.subItem(i, PlaylistColumn::Filename);
            if (!path.isEmpty() && main.wmpPlayer().FileName() == path) {
                msgBox(organise::fileMessage(QStringLiteral("It has been detected that the song you are trying to rename is being used by ")
                                                 + programfolder::title() + u':',
                                             path, kNotRenamed),
                       MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
                continue;
            }
            if (!files_FileExists(path)) {
                msgBox(organise::fileMessage(QStringLiteral("It has been detected that the song you are trying to rename does not exist:"),
                                             path, kNotRenamed),
                       MsgButtons::OK, MsgIcon::Exclamation, kErrorTitle);
                continue;
            }
            if (!organise::isMpegAudio(path)) continue;
            const organise::SongTags tags = organise::readTags(path, useID3v2);
            lblArtist->setText(tags.artist);
            lblTitle->setText(tags.title);
            lblAlbum->setText(tags.album);
            QString missing;
            const QString name = organise::patternName(tags.artist, tags.title, tags.album, pattern, numbered, i, path, &missing);
            if (!missing.isEmpty()) {
                const QString tag = useID3v2 ? QStringLiteral("ID3v2") : QStringLiteral("ID3v1");
                console.window_WriteLog(path + QStringLiteral(" was not renamed: its ") + tag + QStringLiteral(" tag has no ") + missing + u'.');
                ++skipped;
                continue;
            }
            const QString renamed = organise::folderWithSeparator(path) + name;
            if (renamed == path) {   // named so already: nothing to do, nothing failed
                ++alreadyNamed;
                continue;
            }
            if (files_RenameFile(path, renamed)) {
                ++renamedCount;
                forms().get<FrmTracking>().tracking_UpdateFilename(path, renamed);
                forms().get<FrmAdjustVolumes>().volumes_UpdateFilename(path, renamed);
                console.window_WriteLog(path + QStringLiteral(" was renamed to ") + renamed + u'.');
                rows.setSubItem(i, PlaylistColumn::Filename, renamed);
            } else {
                ++failed;
                console.window_WriteLog(path + QStringLiteral(" could not be renamed to ") + renamed + u'.');
            }
        }
        setControlsEnabled(true);
        savePlaylistIf(chkSaveChanges->isChecked());
        if (skipped > 0 || failed > 0) {
            // Every song the run handled is counted once: renamed, named so already, skipped
            // (with why) or failed, so the counts add up to the songs of the playlist tried.
            const QString why = QStringLiteral(", as their tags lack a field that the chosen filename uses");
            QStringList counts{songsWere(renamedCount) + QStringLiteral(" renamed")};
            if (alreadyNamed > 0) counts << QString::number(alreadyNamed) + QStringLiteral(" already had that name");
            if (skipped > 0) counts << were(skipped) + QStringLiteral(" skipped");
            if (failed > 0) counts << QString::number(failed) + QStringLiteral(" could not be renamed");
            const auto joined = [&](bool saysWhy) {
                QString text = counts[0];
                for (qsizetype k = 1; k < counts.size(); ++k) {
                    const bool whyBefore = saysWhy && skipped > 0 && counts[k - 1].endsWith(QStringLiteral(" skipped"));
                    text += k + 1 < counts.size() ? QStringLiteral(", ") : whyBefore ? QStringLiteral(", and ") : QStringLiteral(" and ");
                    text += counts[k];
                    if (saysWhy && counts[k].endsWith(QStringLiteral(" skipped"))) text += why;
                }
                return text;
            };
            const QString count = joined(false), first = joined(true);
            const QString listed = failed == 0   ? QStringLiteral("The skipped songs are listed in the log.")
                                   : skipped == 0 ? QStringLiteral("The songs that could not be renamed are listed in the log.")
                                                  : QStringLiteral("The skipped songs and those that could not be renamed are listed in the log.");
            console.window_WriteLog(count + u'.');
            msgBox(organise::message(first + u'.', listed), MsgButtons::OK, MsgIcon::Information,
                   QStringLiteral("Mass File Renaming Information"));
        }
    }
    if (chkCloseWindow->isChecked()) unloadForm<FrmMassRenamer>();
}

void FrmMassRenamer::cmdClose_Click() { unloadForm<FrmMassRenamer>(); }
