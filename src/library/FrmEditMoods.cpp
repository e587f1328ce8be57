#include "library/FrmEditMoods.h"

#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modMoodFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_3DPanel.h"
#include "library/FrmAddMood.h"
#include "library/FrmMediaLibrary.h"
#include "media/modMedia.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace veltra;

namespace {
constexpr int kSongsWidth = 900;   // twips
} // namespace

FrmEditMoods::FrmEditMoods() : ToolDialog(QStringLiteral("FrmEditMoods"), QStringLiteral("Edit Moods"))
{
    const HeadingRow heading = addHeadingRow(new QLabel(QStringLiteral("Moods available within ") + programfolder::title() + u':'));
    qxpTop = heading.qxpTop;
    lblOptions = heading.lblOptions;
    qxpOptions = heading.qxpOptions;

    lstvItems = new ListView(this);
    lstvItems->setObjectName(QStringLiteral("lstvItems"));
    lstvItems->setColumns({QStringLiteral("Title:"), QStringLiteral("Songs:")});
    lstvItems->setMultiSelect(false);
    // The design height in whole rows of the list's font, no row cut in half.
    lstvItems->setMinimumSize(vb::TwipsToPixels(4800), controls_WholeRowsHeight(lstvItems, vb::TwipsToPixels(3000)));
    lstvItems->resize(lstvItems->minimumSize());
    body()->addWidget(lstvItems, 1);

    cmdAdd = addActionButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add »"), [this] { mnuAdd_Click(); });
    cmdSave = addActionButton(QStringLiteral("cmdSave"), QStringLiteral("&Save »"), [this] { cmdSave_Click(); });
    cmdAdd->setDefault(false);
    cmdSave->setDefault(true);

    mnuMenu = new QMenu(this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* a = mnuMenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuAdd = item("mnuAdd", QStringLiteral("&Add...\tCtrl+A"));
    mnuMenu->addSeparator();
    mnuMoveUpOne = item("mnuMoveUpOne", QStringLiteral("Move:  &Up One..."));
    mnuMoveDownOne = item("mnuMoveDownOne", QStringLiteral("Move:  &Down One..."));
    mnuMenu->addSeparator();
    mnuRemove = item("mnuRemove", QStringLiteral("Selected:  &Remove...\tDel"));
    mnuMenu->addSeparator();
    mnuReset = item("mnuReset", QStringLiteral("Re&set..."));
    connect(mnuAdd, &QAction::triggered, this, [this] { mnuAdd_Click(); });
    connect(mnuMoveUpOne, &QAction::triggered, this, [this] { mnuMoveUpOne_Click(); });
    connect(mnuMoveDownOne, &QAction::triggered, this, [this] { mnuMoveDownOne_Click(); });
    connect(mnuRemove, &QAction::triggered, this, [this] { mnuRemove_Click(); });
    connect(mnuReset, &QAction::triggered, this, [this] { mnuReset_Click(); });

    tmrWindowUpdate = new QTimer(this);
    tmrWindowUpdate->setObjectName(QStringLiteral("tmrWindowUpdate"));
    tmrWindowUpdate->setInterval(50);
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });

    useOptionsMenu(mnuMenu, qxpOptions, lstvItems, [this] { tmrWindowUpdate_Timer(); });
    useDialogKey(Qt::ALT | Qt::Key_Up, mnuMoveUpOne);
    useDialogKey(Qt::ALT | Qt::Key_Down, mnuMoveDownOne);
    useDialogKey(Qt::CTRL | Qt::Key_A, mnuAdd);
    useDialogKey(QKeyCombination(AnyModifiers, Qt::Key_Delete), mnuRemove);

    Form_Load();
    tmrWindowUpdate_Timer();
    tmrWindowUpdate->start();
}

void FrmEditMoods::window_Open(QWidget* owner)
{
    FrmEditMoods& dialog = forms().fresh<FrmEditMoods>();
    windows_ShowModal(dialog, owner, true);
}

// ---- the list ---------------------------------------------------------------------------------------

void FrmEditMoods::Form_Load()
{
    lstvItems->setColumnWidthTwips(1, kSongsWidth);
    sizeTitleColumn();
    controls_SetHeaderStyle(*lstvItems);
    mnuMoveUpOne->setText(mnuMoveUpOne->text() + QStringLiteral("\tAlt+Up"));
    mnuMoveDownOne->setText(mnuMoveDownOne->text() + QStringLiteral("\tAlt+Down"));
    fillFromMoodList();
}

void FrmEditMoods::sizeTitleColumn()
{
    // The title takes the list's width but for the count and the scroll bar.
    const double width = vb::PixelsToTwips(lstvItems->width()) - kSongsWidth - 360;
    if (width > 0) lstvItems->setColumnWidthTwips(0, width);
}

void FrmEditMoods::fillFromMoodList()
{
    if (MoodList.isEmpty()) return;
    for (const QString& name : MoodList.split(u'|')) window_AddMood(name, QString::number(moods_CountSongs(moods_FilePath(name))));
}

void FrmEditMoods::window_AddMood(const QString& name, const QString& songs)
{
    lstvItems->items().add({name, songs});
    keepASelection();
}

void FrmEditMoods::keepASelection()
{
    // While the list has rows one of them is selected, so the commands always have a mood.
    ListViewModel& rows = lstvItems->items();
    if (rows.count() == 0 || selectedRow() != 0) return;
    const int current = rows.selectedItem();
    rows.setSelectedItem(current >= 1 && current <= rows.count() ? current : 1);
}

int FrmEditMoods::selectedRow() const { return controls_SelectedRow(lstvItems->items()); }

void FrmEditMoods::tmrWindowUpdate_Timer()
{
    keepASelection();
    const int n = lstvItems->items().count();
    const int row = selectedRow();
    auto set = [](QAction* a, bool on) {
        if (on) controls_EnableMenu(a);
        else controls_DisableMenu(a);
    };
    set(mnuReset, n >= 1);
    set(mnuRemove, n >= 1);
    set(mnuMoveUpOne, n >= 2 && row > 1);
    set(mnuMoveDownOne, n >= 2 && row >= 1 && row < n);
}

// ---- commands ----------------------------------------------------------------------------------------

void FrmEditMoods::mnuAdd_Click()
{
    FrmAddMood& dialog = forms().fresh<FrmAddMood>();
    windows_ShowModal(dialog, this, true);
}

void FrmEditMoods::moveSelected(int step)
{
    const int row = selectedRow();
    if (row == 0) return;
    controls_SwapItems(lstvItems->items(), row, row + step, true);
    lstvItems->ensureVisible(selectedRow());
}

void FrmEditMoods::mnuMoveUpOne_Click() { moveSelected(-1); }
void FrmEditMoods::mnuMoveDownOne_Click() { moveSelected(+1); }

void FrmEditMoods::mnuRemove_Click()
{
    const int row = selectedRow();
    if (row == 0) return;
    const QString file = moods_FilePath(lstvItems->items().text(row));
    if (!file.isEmpty() && files_FileExists(file)) {
        const MsgResult answer = msgBox(QStringLiteral("The mood that you have selected contains songs that you have added, which "
                                                       "means they will be lost.\r\n\r\nAre you sure you want to remove this mood?\r\n"),
                                        MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Remove Mood Confirmation"));
        if (answer != MsgResult::Yes) return;
        files_DeleteFile(file);
    }
    controls_RemoveSelectedItems(lstvItems->items());
    keepASelection();
}

void FrmEditMoods::mnuReset_Click()
{
    media_ResetMoods();
    // Whatever the answer the list starts again from the stored names, with fresh counts.
    controls_ClearListView(lstvItems->items());
    fillFromMoodList();
}

void FrmEditMoods::cmdSave_Click()
{
    const ListViewModel& rows = lstvItems->items();
    if (rows.count() == 0) {
        msgBox(QStringLiteral("It has been detected that you have not entered any moods into the list.\r\n\r\n"
                              "This function will not be proformed.\r\n"),
               MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Saving Moods Error"));
        lstvItems->setFocus();
        return;
    }
    QStringList names;
    for (int row = 1; row <= rows.count(); ++row) names.append(vb::ProperCase(rows.text(row)));
    MoodList = names.join(u'|');
    // Stored before the menus are rebuilt: they are built from the stored list.
    settings_WriteValue(QStringLiteral("Advanced"), QStringLiteral("Moods"), MoodList);
    if (forms().isLoaded<FrmMain>()) {
        FrmMain& main = forms().get<FrmMain>();
        main.window_RemoveMoodMenus();
        main.window_InstallMoods();
        main.window_UpdateMoods();
        if (main.mnuOpenMediaLibrary->isChecked() && forms().isLoaded<FrmMediaLibrary>()) {
            FrmMediaLibrary& library = forms().get<FrmMediaLibrary>();
            library.window_RemoveMoodMenus();
            library.window_InstallSendToMoods();
            library.library_Setup();
        }
    }
    accept();
}

// ---- layout ---------------------------------------------------------------------------------------------

bool FrmEditMoods::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == lstvItems) sizeTitleColumn();   // the list's width is known once laid out
    return ToolDialog::eventFilter(watched, event);
}
