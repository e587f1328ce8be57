#include "playlisttools/FrmRandomSongsPlaylist.h"

#include "common/ListViewModel.h"
#include "common/PlaylistRow.h"
#include "common/modFiles.h"
#include "common/modMath.h"
#include "common/modPlaylistFiles.h"
#include "common/modVB.h"
#include "controls/ctlQX_wLine3D.h"
#include "mainwindow/FrmMenus.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "playlisttools/OptionButtons.h"
#include "startup/Forms.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

using namespace veltra;

FrmRandomSongsPlaylist::FrmRandomSongsPlaylist()
    : ToolDialog(QStringLiteral("FrmRandomSongsPlaylist"), QStringLiteral("Create Random Songs Playlist"))
{
    const char* prompts[] = {"Enter the new playlist name:", "How many songs:", "Search option for how songs are picked:"};
    for (int i = 0; i < 3; ++i) {
        lblText[i] = new QLabel(QString::fromUtf8(prompts[i]), this);
        lblText[i]->setObjectName(QStringLiteral("lblText%1").arg(i));
    }
    txtPlaylistName = new QLineEdit(this);
    txtPlaylistName->setObjectName(QStringLiteral("txtPlaylistName"));
    lblText[0]->setBuddy(txtPlaylistName);
    useFocusColours(txtPlaylistName);
    txtSongCount = new QLineEdit(this);
    txtSongCount->setObjectName(QStringLiteral("txtSongCount"));
    lblText[1]->setBuddy(txtSongCount);
    useFocusColours(txtSongCount);
    useNumberBox(txtSongCount);
    cmbOptions = new QComboBox(this);
    cmbOptions->setObjectName(QStringLiteral("cmbOptions"));
    lblText[2]->setBuddy(cmbOptions);

    opOptions = new OptionButtons(this);
    const char* captions[] = {"Reset the window after creating the new playlist...", "Close this window after creating the new playlist..."};
    for (int i = 0; i < 2; ++i)
        opOptions->add(new QRadioButton(QString::fromUtf8(captions[i]), this))->setObjectName(QStringLiteral("opOptions%1").arg(i));
    opOptions->onClick([this](int index) { opOptions_Click(index); });
    ctlQX_wLine3D1 = new ctlQX_wLine3D(this);
    ctlQX_wLine3D1->setObjectName(QStringLiteral("ctlQX_wLine3D1"));
    ctlQX_wLine3D1->setFixedHeight(4);
    ctlQX_wLine3D2 = new ctlQX_wLine3D(this);
    ctlQX_wLine3D2->setObjectName(QStringLiteral("ctlQX_wLine3D2"));
    ctlQX_wLine3D2->setFixedHeight(4);

    body()->addWidget(lblText[0]);
    body()->addWidget(txtPlaylistName);
    auto* counts = new QGridLayout;
    counts->addWidget(lblText[1], 0, 0);
    counts->addWidget(lblText[2], 0, 1);
    counts->addWidget(txtSongCount, 1, 0);
    counts->addWidget(cmbOptions, 1, 1);
    counts->setColumnStretch(1, 1);
    body()->addLayout(counts);
    body()->addWidget(ctlQX_wLine3D1);
    body()->addWidget(opOptions->at(0));
    body()->addWidget(opOptions->at(1));
    body()->addWidget(ctlQX_wLine3D2);

    cmdCreate = addActionButton(QStringLiteral("cmdCreate"), QStringLiteral("&Create »"), [this] { cmdCreate_Click(); });
    QWidget* order[] = {txtPlaylistName, txtSongCount, cmbOptions, opOptions->at(0), opOptions->at(1), cmdCreate, cmdBack, cmdClose};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    Form_Load();
}

void FrmRandomSongsPlaylist::Form_Load()
{
    cmbOptions->addItem(QStringLiteral("Use All The Songs Available"));
    cmbOptions->addItem(QStringLiteral("Don't Use Songs Set To Skip"));
    cmbOptions->setCurrentIndex(UseAllSongs);
    txtSongCount->setText(QStringLiteral("20"));
    opOptions->select(ResetWindow);
}

void FrmRandomSongsPlaylist::opOptions_Click(int index) { SelectedOption = index; }

void FrmRandomSongsPlaylist::cmdClose_Click() { reject(); }

void FrmRandomSongsPlaylist::cmdCreate_Click()
{
    auto refuse = [](const QString& firstLine, QLineEdit* focus) {
        msgBox(firstLine + QStringLiteral("\r\n\r\nThis function will not be proformed.\r\n"), MsgButtons::OK, MsgIcon::Exclamation,
               QStringLiteral("Creating Random Songs Playlist"));
        focus->setFocus();
    };
    const QString name = txtPlaylistName->text();
    if (name.isEmpty()) return refuse(QStringLiteral("It has been detected that you have not entered a playlist name."), txtPlaylistName);
    if (!playlists::isAcceptableName(name)) return refuse(playlists::unsupportedCharacterText(), txtPlaylistName);
    const QString countText = txtSongCount->text();
    if (countText.isEmpty())
        return refuse(QStringLiteral("It has been detected that you have not entered a number of songs to include in the playlist."), txtSongCount);
    bool numeric = false;
    const double countValue = vb::ToDouble(countText, &numeric);
    if (!numeric || !std::isfinite(countValue) || countValue < 0)
        return refuse(QStringLiteral("It has been detected that the song count you have entered is invalid."), txtSongCount);
    // Taken too: the name of the playlist saved on exit, and a stored one in another letter case.
    if (playlists::checkName(name).use != playlists::NameCheck::Free)
        return refuse(QStringLiteral("It has been detected that the playlist name you have entered already exists."), txtPlaylistName);

    const QString path = playlists::fileOf(name);

    // The rows that may be drawn: all of them, or those not set to "Skip".
    const ListViewModel& list = forms().get<FrmMain>().rows();
    const bool leaveSkipped = cmbOptions->currentIndex() == DontUseSkipped;
    QList<int> eligible;
    for (int row = 1; row <= list.count(); ++row)
        if (!leaveSkipped || playlist_RowStatus(list, row) != RowStatus::Skip) eligible.append(row);
    const double rounded = vb::Round(countValue);
    if (rounded > eligible.size())
        return refuse(QStringLiteral("The song count you have entered is higher than the number of songs in the active playlist."), txtSongCount);
    if (2 * rounded > list.count())
        return refuse(QStringLiteral("You have to have double the amount of songs available in the playlist than the song count you have entered."),
                      txtSongCount);
    const int count = int(rounded);

    bool written = true;
    {
        const Busy busy(*this);
        opOptions->clearAll();
        // Each draw picks among the rows not drawn yet, so no row is written twice.
        ListViewModel picked;
        picked.setColumns(PlaylistColumn::headers());
        for (int k = 0; k < count; ++k) {
            const int at = math_GetRandomNumber(int(eligible.size()), 0, false, 20) - 1;
            QStringList cells = list.cells(eligible[at]);
            cells.resize(PlaylistColumn::Count);
            cells[PlaylistColumn::Number].clear();
            picked.add(cells);
            eligible.swapItemsAt(at, eligible.size() - 1);
            eligible.removeLast();
        }
        // Written whole at the end: a failure leaves no file behind.
        if (count > 0) written = playlists::write(picked, path);
    }
    if (!written) {
        opOptions->select(SelectedOption);
        return refuse(QStringLiteral("An error occured while trying to create the new random songs playlist."), txtPlaylistName);
    }
    forms().get<FrmMenus>().mnuUpdate_Click();
    if (SelectedOption == CloseWindow) {
        accept();
        return;
    }
    txtPlaylistName->clear();
    cmbOptions->setCurrentIndex(UseAllSongs);
    txtSongCount->clear();
    opOptions->select(ResetWindow);
    txtPlaylistName->setFocus();
}
