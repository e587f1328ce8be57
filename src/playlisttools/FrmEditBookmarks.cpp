#include "playlisttools/FrmEditBookmarks.h"

#include "common/FrmConsole.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "controls/ctlQX_3DPanel.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace veltra;

namespace {
QString bookmarksFile() { return programfolder::file(QStringLiteral("bookmarks.sbl")); }
} // namespace

FrmEditBookmarks::FrmEditBookmarks() : ToolDialog(QStringLiteral("FrmEditBookmarks"), QStringLiteral("Edit Bookmarks"))
{
    lblText = new QLabel(QStringLiteral("Bookmark filenames that are already available:"));
    lblText->setObjectName(QStringLiteral("lblText"));
    const HeadingRow heading = addHeadingRow(lblText);
    qxpTop = heading.qxpTop;
    lblOptions = heading.lblOptions;
    qxpOptions = heading.qxpOptions;

    lstBookmarks = new QListWidget(this);
    lstBookmarks->setObjectName(QStringLiteral("lstBookmarks"));
    lstBookmarks->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBookmarks->setSortingEnabled(false);
    // The design height in whole rows of the list's font, no row cut in half.
    lstBookmarks->setMinimumSize(420, controls_WholeRowsHeight(lstBookmarks, 200));
    body()->addWidget(lstBookmarks, 1);

    cmdSave = addActionButton(QStringLiteral("cmdSave"), QStringLiteral("&Save »"), [this] { cmdSave_Click(); });

    mnuMenu = new QMenu(QStringLiteral("Menu"), this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    auto item = [this](const char* name, const QString& caption, void (FrmEditBookmarks::*handler)()) {
        QAction* a = mnuMenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    mnuMoveUpOne = item("mnuMoveUpOne", QStringLiteral("Move:  &Up One..."), &FrmEditBookmarks::mnuMoveUpOne_Click);
    mnuMoveDownOne = item("mnuMoveDownOne", QStringLiteral("Move:  &Down One..."), &FrmEditBookmarks::mnuMoveDownOne_Click);
    mnuMenu->addSeparator();
    mnuRemoveSelected = item("mnuRemoveSelected", QStringLiteral("Remove:  &Selected...\tDel"), &FrmEditBookmarks::mnuRemoveSelected_Click);
    mnuRemoveDeadFilenames =
        item("mnuRemoveDeadFilenames", QStringLiteral("Remove:  Dead &Filenames..."), &FrmEditBookmarks::mnuRemoveDeadFilenames_Click);
    mnuMenu->addSeparator();
    mnuClear = item("mnuClear", QStringLiteral("&Clear..."), &FrmEditBookmarks::mnuClear_Click);

    connect(lstBookmarks, &QListWidget::itemSelectionChanged, this, [this] { window_UpdateMenus(); });

    useOptionsMenu(mnuMenu, qxpOptions, lstBookmarks, [this] { window_UpdateMenus(); });
    useDialogKey(Qt::ALT | Qt::Key_Up, mnuMoveUpOne);
    useDialogKey(Qt::ALT | Qt::Key_Down, mnuMoveDownOne);
    useDialogKey(QKeyCombination(AnyModifiers, Qt::Key_Delete), mnuRemoveSelected);

    Form_Load();
}

void FrmEditBookmarks::Form_Load()
{
    if (files_FileExists(bookmarksFile())) controls_LoadFileIntoList(bookmarksFile(), lstBookmarks);
    lstBookmarks->setCurrentRow(-1);
    mnuMoveUpOne->setText(mnuMoveUpOne->text() + QStringLiteral("\tAlt+Up"));
    mnuMoveDownOne->setText(mnuMoveDownOne->text() + QStringLiteral("\tAlt+Down"));
    window_UpdateMenus();
}

int FrmEditBookmarks::selectedIndex() const
{
    const QList<QListWidgetItem*> chosen = lstBookmarks->selectedItems();
    return chosen.isEmpty() ? -1 : lstBookmarks->row(chosen.first());
}

void FrmEditBookmarks::window_UpdateMenus()
{
    const int n = lstBookmarks->count();
    const int selected = selectedIndex();
    mnuMoveUpOne->setEnabled(selected > 0);
    mnuMoveDownOne->setEnabled(selected >= 0 && selected < n - 1);
    mnuRemoveSelected->setEnabled(selected >= 0);
    mnuRemoveDeadFilenames->setEnabled(n > 0);
    mnuClear->setEnabled(n > 0);
}

// ---- commands ----------------------------------------------------------------------------------------

void FrmEditBookmarks::moveSelected(int step)
{
    const int selected = selectedIndex();
    if (selected < 0) return;
    controls_ListMoveItem(lstBookmarks, selected, selected + step);
    window_UpdateMenus();
}

void FrmEditBookmarks::mnuMoveUpOne_Click() { moveSelected(-1); }
void FrmEditBookmarks::mnuMoveDownOne_Click() { moveSelected(+1); }

void FrmEditBookmarks::mnuRemoveSelected_Click()
{
    controls_ListRemoveSelected(lstBookmarks);
    window_UpdateMenus();
}

void FrmEditBookmarks::mnuRemoveDeadFilenames_Click()
{
    controls_ListRemoveDeadFiles(lstBookmarks);
    window_UpdateMenus();
    cmdSave_Click();
}

void FrmEditBookmarks::mnuClear_Click()
{
    // Asks first; the list empties whatever the answer, and only Save makes that stick.
    forms().get<FrmMain>().mnuClearBookmarks_Click();
    lstBookmarks->clear();
    window_UpdateMenus();
}

void FrmEditBookmarks::cmdSave_Click()
{
    FrmMain& main = forms().get<FrmMain>();
    if (lstBookmarks->count() == 0) {
        // No bookmarks is no file.
        files_DeleteFile(bookmarksFile());
        main.window_InstallBookmarks();
        accept();
        return;
    }
    // Written whole or not at all: a failure leaves the old file and the dialog open.
    if (!controls_SaveListToFile(bookmarksFile(), lstBookmarks)) {
        msgBox(QStringLiteral("The bookmarks could not be saved.\r\n\r\nThis function will not continue.\r\n"), MsgButtons::OK,
               MsgIcon::Exclamation, QStringLiteral("Edit Bookmarks Error"));
        return;
    }
    main.window_InstallBookmarks();
    forms().get<FrmConsole>().window_WriteLog(QStringLiteral("Bookmarks were modified from the Edit window."));
    accept();
}
