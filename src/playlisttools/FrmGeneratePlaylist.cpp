#include "playlisttools/FrmGeneratePlaylist.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modListReplace.h"
#include "common/modPlaylistFiles.h"
#include "common/modRecent.h"
#include "common/modVB.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_wLine3D.h"
#include "mainwindow/FrmMenus.h"
#include "media/MediaError.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/OptionButtons.h"
#include "startup/Forms.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

using namespace veltra;

namespace {
const QString kTitle = QStringLiteral("Generating Playlist Error");
const QString kResults = QStringLiteral("Songs Added To Playlist:");

void refuse(const QString& text) { msgBox(text, MsgButtons::OK, MsgIcon::Exclamation, kTitle); }
} // namespace

FrmGeneratePlaylist::FrmGeneratePlaylist() : ToolDialog(QStringLiteral("FrmGeneratePlaylist"), QStringLiteral("Generate Playlist"))
{
    auto named = [](QWidget* w, const char* name) { w->setObjectName(QString::fromLatin1(name)); };

    Label1 = new QLabel(QStringLiteral("Enter the criteria that the new playlist will be created from:"), this);
    named(Label1, "Label1");
    txtCriteria = new QLineEdit(this);
    named(txtCriteria, "txtCriteria");
    Label1->setBuddy(txtCriteria);
    useFocusColours(txtCriteria);
    useNumberBox(txtCriteria, 4);   // filtering only while the year is chosen

    opOptions = new OptionButtons(this);
    const char* captions[] = {"Create the playlist from:  Artist Name...", "Create the playlist from:  Album Name...",
                              "Create the playlist from:  Year Produced..."};
    for (int i = 0; i < 3; ++i)
        opOptions->add(new QRadioButton(QString::fromUtf8(captions[i]), this))->setObjectName(QStringLiteral("opOptions%1").arg(i));
    opOptions->onClick([this](int index) { opOptions_Click(index); });

    lblSearchResults = new QLabel(kResults);
    named(lblSearchResults, "lblSearchResults");
    qxpSearchResults = labelPanel(QStringLiteral("qxpSearchResults"), lblSearchResults);

    lstvItems = new ListView(this);
    named(lstvItems, "lstvItems");
    lstvItems->setColumns({QStringLiteral("Number:"), QStringLiteral("Artist"), QStringLiteral("Title:")});
    lstvItems->setMinimumSize(vb::TwipsToPixels(6600), controls_WholeRowsHeight(lstvItems, vb::TwipsToPixels(2400)));
    lstvItems->setColumnWidthTwips(0, 900);
    lstvItems->setColumnWidthTwips(1, 2600);
    lstvItems->setColumnWidthTwips(2, 2700);

    chkUseID3v2 = new QCheckBox(QStringLiteral("Use ID3v2 Tags over the ID3v1 Tags (slower)..."), this);
    named(chkUseID3v2, "chkUseID3v2");
    chkOpenPlaylist = new QCheckBox(QStringLiteral("Open the playlist once its created..."), this);
    named(chkOpenPlaylist, "chkOpenPlaylist");
    chkOpenPlaylist->setChecked(true);
    pbBar = new QProgressBar(this);
    named(pbBar, "pbBar");
    pbBar->setTextVisible(false);
    lblAlbum = new QLabel(QStringLiteral("lblAlbum"), this);
    named(lblAlbum, "lblAlbum");
    lblAlbum->setTextFormat(Qt::PlainText);
    lblAlbum->hide();
    ctlQX_wLine3D1 = new ctlQX_wLine3D(this);
    named(ctlQX_wLine3D1, "ctlQX_wLine3D1");
    ctlQX_wLine3D1->setFixedHeight(4);
    ctlQX_wLine3D2 = new ctlQX_wLine3D(this);
    named(ctlQX_wLine3D2, "ctlQX_wLine3D2");
    ctlQX_wLine3D2->setFixedHeight(4);

    body()->addWidget(Label1);
    body()->addWidget(txtCriteria);
    for (int i = 0; i < opOptions->count(); ++i) body()->addWidget(opOptions->at(i));
    body()->addWidget(ctlQX_wLine3D1);
    body()->addWidget(qxpSearchResults);
    body()->addWidget(lstvItems, 1);
    body()->addWidget(chkUseID3v2);
    body()->addWidget(chkOpenPlaylist);
    body()->addWidget(pbBar);
    body()->addWidget(ctlQX_wLine3D2);

    cmdCreate = addActionButton(QStringLiteral("cmdCreate"), QStringLiteral("&Create »"), [this] { cmdCreate_Click(); });
    cmdClose->setText(QStringLiteral("C&lose"));

    QWidget* order[] = {txtCriteria, opOptions->at(0), opOptions->at(1), opOptions->at(2), lstvItems, chkUseID3v2, chkOpenPlaylist, cmdCreate, cmdBack, cmdClose};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    Form_Load();
}

void FrmGeneratePlaylist::Form_Load()
{
    pbBar->hide();
    opOptions->select(ArtistName);
}

void FrmGeneratePlaylist::opOptions_Click(int index)
{
    const bool year = index == YearProduced;
    controls_SetNumericFilterOn(txtCriteria, year);
    // The number box keeps the year's four digits itself (a pasted text is cleaned first).
    txtCriteria->setMaxLength(year ? 32767 : 30);
    SelectedOption = index;
}

void FrmGeneratePlaylist::cmdClose_Click() { reject(); }

void FrmGeneratePlaylist::results_AddItem(const QString& artist, const QString& title) { lstvItems->items().add({QString(), artist, title}); }

std::optional<QString> FrmGeneratePlaylist::albumOf(const QString& file)
{
    const QString extension = files_GetExtension(file).toLower();
    if (extension != QLatin1String("mp3") && extension != QLatin1String("mp2") && extension != QLatin1String("mp1")) return std::nullopt;
    // One reader per file, gone again before the next.
    QString album;
    try {
        if (chkUseID3v2->isChecked()) {
            clsID3v2 tag;
            tag.setFilename(file);
            album = tag.Album();
        } else {
            clsID3v1 tag;
            tag.setFilename(file);
            album = tag.Album();
        }
    } catch (const MediaError&) {
        album.clear();
    }
    lblAlbum->setText(album);
    return lblAlbum->text();
}

void FrmGeneratePlaylist::cmdCreate_Click()
{
    if (txtCriteria->text().isEmpty()) {
        refuse(QStringLiteral("It has been detected that you have not entered anything into the criteria section.\r\n\r\n"
                              "Please enter a creation criteria before continuing with this function.\r\n"));
        txtCriteria->setFocus();
        return;
    }
    // The criteria names the file.
    if (!playlists::isAcceptableName(txtCriteria->text())) {
        refuse(playlists::unsupportedCharacterText() + QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n"));
        txtCriteria->setFocus();
        return;
    }
    // The file written carries the proper-case name: that is the one asked about. A stored
    // playlist of that name in another letter case is the one written over; the name of the
    // playlist saved on exit is never taken.
    const QString criteria = vb::ProperCase(txtCriteria->text());
    const playlists::NameCheck taken = playlists::checkName(criteria);
    if (taken.use == playlists::NameCheck::Reserved) {
        refuse(QStringLiteral("It has been detected that the playlist you wish to create already exists.\r\n\r\nNo playlist was created.\r\n"));
        txtCriteria->setFocus();
        return;
    }
    const QString path = taken.use == playlists::NameCheck::Stored ? taken.file : playlists::fileOf(criteria);
    if (files_FileExists(path)) {
        const MsgResult answer = msgBox(QStringLiteral("It has been detected that the playlist you wish to create already exists.\r\n\r\n"
                                                       "Do you want to overwrite this playlist?\r\n"),
                                        MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Overwrite Existing Playlist Confirmation"));
        if (answer != MsgResult::Yes) return;
    }

    FrmMain& main = forms().get<FrmMain>();
    ListViewModel found;   // the entries of the new file
    found.setColumns(PlaylistColumn::headers());
    {
        const Busy busy(*this);
        opOptions->clearAll();
        controls_ClearListView(lstvItems->items());
        txtCriteria->setText(criteria);
        const QString wanted = criteria.toLower();
        ListViewModel& list = main.rows();
        pbBar->setMaximum(std::max(1, list.count()));
        pbBar->setValue(0);
        pbBar->show();
        // The list is read afresh at every row: the events let in between may change it.
        for (int row = 1; row <= list.count(); ++row) {
            vb::DoEventsThrottled();
            if (row > list.count()) break;
            pbBar->setValue(std::min(row, pbBar->maximum()));
            const QStringList cells = list.cells(row);
            auto cell = [&cells](int column) { return cells.value(column); };
            QString field;
            if (SelectedOption == ArtistName) {
                field = cell(PlaylistColumn::Artist);
            } else if (SelectedOption == YearProduced) {
                field = cell(PlaylistColumn::Year);
            } else {
                const std::optional<QString> album = albumOf(cell(PlaylistColumn::Filename));
                if (!album) continue;
                field = *album;
            }
            if (field.toLower() != wanted) continue;
            found.add({QStringLiteral("%1").arg(found.count() + 1, 3, 10, QLatin1Char('0')), cell(PlaylistColumn::Artist),
                       cell(PlaylistColumn::Title), cell(PlaylistColumn::Year), cell(PlaylistColumn::Status),
                       cell(PlaylistColumn::Length), cell(PlaylistColumn::Filename)});
            results_AddItem(cell(PlaylistColumn::Artist), cell(PlaylistColumn::Title));
        }
    }

    const int written = found.count();
    if (written == 0) {
        // An older playlist of that name stays as it was.
        refuse(QStringLiteral("The search critera that you entered was not valid.\r\n\r\nNo playlist was created.\r\n"));
        lblSearchResults->setText(kResults + QStringLiteral("  None"));
    } else if (!playlists::write(found, path)) {
        refuse(QStringLiteral("An error occured while trying to create the playlist:\r\n") + path
               + QStringLiteral("\r\n\r\nNo playlist was created.\r\n"));
        controls_ClearListView(lstvItems->items());
        lblSearchResults->setText(kResults + QStringLiteral("  None"));
    } else {
        lblSearchResults->setText(kResults + QStringLiteral("  ") + QString::number(written));
        forms().get<FrmConsole>().window_WriteLog(path + QStringLiteral(" saved as playlist."));
        if (chkOpenPlaylist->isChecked()) {
            // Opened as the playlist box opens one; the rows shown before are not saved.
            if (controls_ReplaceListView(main.rows(), path)) {
                main.playlist_RefillBox(path);
                recentplaylists_AddFile(path, main);
                main.window_UncheckMenus();
                main.window_ResetRandomFilenames();
                controls_RenumberItems(main.rows());
                main.playlist_FollowPlayerAfterOpen();
            }
        } else {
            forms().get<FrmMenus>().mnuUpdate_Click();
        }
        controls_RenumberItems(lstvItems->items());
        files_AddToRecentDocuments(path);
    }
    lblSearchResults->adjustSize();
    opOptions->select(SelectedOption);
    txtCriteria->setFocus();
}
