// The library window itself: controls and layout, menus and their help, opening and closing,
// the update timer. What it browses and searches is in FrmMediaLibrary_Library.cpp.
#include "library/FrmMediaLibrary.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/MenuArray.h"
#include "common/modControls.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_3DPanel.h"
#include "controls/ctlQX_wLine3D.h"
#include "media/modMedia.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowPlace.h"
#include "mainwindow/FrmMain.h"
#include "startup/Forms.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {
const QString kSettings = QStringLiteral("MediaLibrarySettings");
const QString kColumns = QStringLiteral("ColumnHeaders_MediaLibrary");
const QString kWaiting = QStringLiteral("Status:  Waiting...");

// The results columns whose widths are kept, with their default widths in twips.
struct StoredColumn {
    const char* key;
    int column;
    int defaultWidth;
};
const StoredColumn kStoredColumns[] = {
    {"Artist", library::ResArtist, 3000},
    {"Title", library::ResTitle, 3000},
    {"Year", library::ResYear, 1000},
    {"Length", library::ResLength, 1000},
};

// Design sizes, in twips.
constexpr int kSongsPanelWidth = 1800;

// The source tree. A source chosen with the keys (the arrows, a typed letter, Enter) reports
// itself as a click on it does.
class SourceTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(QTreeWidgetItem*)> chosenByKey;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QTreeWidgetItem* before = currentItem();
        QTreeWidget::keyPressEvent(event);
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (chosenByKey && currentItem() && (enter || currentItem() != before)) chosenByKey(currentItem());
    }
};

// Places a control by its rectangle in twips.
void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(vb::TwipsToPixels(left), vb::TwipsToPixels(top), vb::TwipsToPixels(width), vb::TwipsToPixels(height));
}

int twips(int pixels) { return int(vb::PixelsToTwips(pixels)); }

// A caption panel: a 3-D panel with a label.
ctlQX_3DPanel* captionPanel(QWidget* parent, const char* name, const QString& caption)
{
    auto* panel = new ctlQX_3DPanel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(caption, panel);
    label->setTextFormat(Qt::PlainText);
    label->move(vb::TwipsToPixels(90), vb::TwipsToPixels(45));
    label->adjustSize();
    return panel;
}

// A search bar: a 3-D panel holding "Search:" and a text box; rectangles in twips
// (left, top, width, height), the box's and the label's within the panel.
ctlQX_3DPanel* searchBar(QWidget* parent, const char* name, const QRect& panelRect, int labelLeft, const char* boxName,
                         const QRect& boxRect, QLineEdit** box)
{
    auto* panel = new ctlQX_3DPanel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    place(panel, panelRect.x(), panelRect.y(), panelRect.width(), panelRect.height());
    auto* label = new QLabel(QStringLiteral("Search:"), panel);
    label->move(vb::TwipsToPixels(labelLeft), vb::TwipsToPixels(110));
    label->adjustSize();
    *box = new QLineEdit(panel);
    (*box)->setObjectName(QString::fromLatin1(boxName));
    place(*box, boxRect.x(), boxRect.y(), boxRect.width(), boxRect.height());
    return panel;
}

QListWidget* indexList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    // kept in order by the index itself: entries arrive sorted
    list->setSortingEnabled(false);
    return list;
}

} // namespace

FrmMediaLibrary::FrmMediaLibrary()
{
    setObjectName(QStringLiteral("FrmMediaLibrary"));
    setWindowTitle(QStringLiteral("Media Library"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    createMenuBar();
    createControls();
    connectControls();
    Form_Load();
    windowplace::followPlace(this);   // its normal size survives the tray while maximised
}

FrmMediaLibrary::~FrmMediaLibrary() = default;

// ---- construction --------------------------------------------------------------------------------

QAction* FrmMediaLibrary::item(QMenu* menu, QAction** member, const char* name, const QString& caption, const QString& key,
                               const char* help, bool checkable)
{
    QAction* a = menu->addAction(key.isEmpty() ? caption : caption + u'\t' + key);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    a->setShortcutContext(Qt::WindowShortcut);
    if (!key.isEmpty()) a->setShortcut(QKeySequence(key == QLatin1String("Del") ? QStringLiteral("Delete") : key));
    if (help) m_help.insert(a, QString::fromLatin1(help));
    if (member) *member = a;
    return a;
}

QMenu* FrmMediaLibrary::submenu(QMenu* menu, QMenu** member, const char* name, const QString& caption)
{
    QMenu* m = menu->addMenu(caption);
    m->setFont(font());   // a menu is a window of its own: it takes no font from its parent
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    *member = m;
    return m;
}

void FrmMediaLibrary::createMenuBar()
{
    QMenuBar* bar = menuBar();
    auto top = [bar](QMenu** member, const char* name, const QString& caption) {
        *member = bar->addMenu(caption);
        (*member)->setFont(bar->font());
        (*member)->setObjectName(QString::fromLatin1(name));
        (*member)->menuAction()->setObjectName(QString::fromLatin1(name));
    };
    auto separator = [](QMenu* m, const char* name) { m->addSeparator()->setObjectName(QString::fromLatin1(name)); };

    top(&mnuFile, "mnuFile", QStringLiteral("&File"));
    item(mnuFile, &mnuNew, "mnuNew", QStringLiteral("&New..."), QStringLiteral("Ctrl+N"), "Clear the media library and all of the entries.");
    separator(mnuFile, "mnuLineBreak5");
    item(mnuFile, &mnuAddFiles, "mnuAddFiles", QStringLiteral("Add &Files..."), {}, "Add files to the current list.");
    item(mnuFile, &mnuAddPlaylist, "mnuAddPlaylist", QStringLiteral("&Add Playlist..."), {}, "Add an existing playlist to the current list.");
    item(mnuFile, &mnuAddLocation, "mnuAddLocation", QStringLiteral("Add &Location..."), {}, "Add a saved/selected location to the current list.");
    item(mnuFile, &mnuAddDirectory, "mnuAddDirectory", QStringLiteral("Add &Directory..."), {}, "Add a directory of audio files to the current list.");
    separator(mnuFile, "mmnuLineBreak6");
    item(mnuFile, &mnuOpen, "mnuOpen", QStringLiteral("&Open..."), QStringLiteral("Ctrl+O"), "Open an existing playlist.");
    separator(mnuFile, "mnuLineBreak7");
    item(mnuFile, &mnuSaveAs, "mnuSaveAs", QStringLiteral("&Save As..."), QStringLiteral("Ctrl+S"), "Save the current list to a playlist file.");
    separator(mnuFile, "mnuLineBreak8");
    submenu(mnuFile, &mnuRecentMediaFiles, "mnuRecentMediaFiles", QStringLiteral("Recen&t Media:"));
    mnuRecentMedia = new MenuArray(this);
    mnuRecentMedia->setObjectName(QStringLiteral("mnuRecentMedia"));
    mnuRecentMedia->attach(item(mnuRecentMediaFiles, nullptr, "mnuRecentMedia", QStringLiteral("<Empty>")));
    submenu(mnuFile, &mnuRecentPlaylists, "mnuRecentPlaylists", QStringLiteral("&Recent Playlists:"));
    mnuRecentPlaylist = new MenuArray(this);
    mnuRecentPlaylist->setObjectName(QStringLiteral("mnuRecentPlaylist"));
    mnuRecentPlaylist->attach(item(mnuRecentPlaylists, nullptr, "mnuRecentPlaylist", QStringLiteral("<Empty>")));
    separator(mnuFile, "mnuLineBreak14");
    item(mnuFile, &mnuPreferences, "mnuPreferences", QStringLiteral("&Preferences..."), QStringLiteral("Ctrl+P"), "Show the preferences available in VELTRA.");
    separator(mnuFile, "mnuLineBreak9");
    item(mnuFile, &mnuClose, "mnuClose", QStringLiteral("&Close"), {}, "Exit VELTRA.");

    top(&mnuArrange, "mnuArrange", QStringLiteral("&Arrange"));
    item(mnuArrange, &mnuEditMood, "mnuEditMood", QStringLiteral("&Edit Moods..."), QStringLiteral("Ctrl+E"), "Edit the moods available within VELTRA.");
    separator(mnuArrange, "mnuLineBreak10");
    submenu(mnuArrange, &mnuRemove, "mnuRemove", QStringLiteral("&Remove:"));
    item(mnuRemove, &mnuRemoveAlDeadFilenames, "mnuRemoveAlDeadFilenames", QStringLiteral("Remove:  &Dead Filenames..."));
    item(mnuRemove, &mnuRemoveDuplicateFilenames, "mnuRemoveDuplicateFilenames", QStringLiteral("Remove:  Dupl&icate Filenames..."));
    submenu(mnuArrange, &mnuOptions, "mnuOptions", QStringLiteral("&Options:"));
    item(mnuOptions, &mnuImportCurrentPlaylist, "mnuImportCurrentPlaylist", QStringLiteral("&Import Current Playlist..."));
    item(mnuOptions, &mnuExportToVELTRA, "mnuExportToVELTRA", QStringLiteral("&Export To VELTRA..."));
    separator(mnuOptions, "mnuLineBreak16");
    item(mnuOptions, &mnuUseID3v2Tags, "mnuUseID3v2Tags", QStringLiteral("&Use ID3v2 Tags In Library..."), {}, nullptr, true);
    submenu(mnuArrange, &mnuSelected, "mnuSelected", QStringLiteral("&Selected:"));
    submenu(mnuSelected, &mnuSendTo, "mnuSendTo", QStringLiteral("&Send To:"));
    mnuLineMoodBreak = mnuSendTo->addSeparator();
    mnuLineMoodBreak->setObjectName(QStringLiteral("mnuLineMoodBreak"));
    mnuSendToOp = new MenuArray(this);
    mnuSendToOp->setObjectName(QStringLiteral("mnuSendToOp"));
    mnuSendToOp->attach(item(mnuSendTo, nullptr, "mnuSendToOp", QStringLiteral("[Mood]")));
    separator(mnuSendTo, "mnuLineBreak12");
    item(mnuSendTo, &mnuResetMoods, "mnuResetMoods", QStringLiteral("&Reset Moods..."));
    separator(mnuSelected, "mnuLineBreak13");
    item(mnuSelected, &mnuRemoveSelected, "mnuRemoveSelected", QStringLiteral("&Remove..."), QStringLiteral("Del"));

    top(&mnuWindow, "mnuWindow", QStringLiteral("&Window"));
    item(mnuWindow, &mnuAlwaysOnTop, "mnuAlwaysOnTop", QStringLiteral("&Always On Top..."), {},
         "Make this window stay on top of all other open windows/programs.", true);
    separator(mnuWindow, "mnuLineBreak11");
    item(mnuWindow, &mnuShowSearchBar, "mnuShowSearchBar", QStringLiteral("Show &Search Bar..."), QStringLiteral("F1"),
         "Show the search toolbar on the window.", true);
    separator(mnuWindow, "mnuLineBreak1");
    item(mnuWindow, &mnuShowPlaylistHeaders, "mnuShowPlaylistHeaders", QStringLiteral("Show &Playlist Headers..."), QStringLiteral("F2"),
         "Show the headers for each section in the playlist on the window.", true);
    item(mnuWindow, &mnuShowStatusBar, "mnuShowStatusBar", QStringLiteral("Show Status &Bar..."), QStringLiteral("F3"),
         "Show the status bar at the bottom of the window.", true);
    separator(mnuWindow, "mnuLineBreak2");
    item(mnuWindow, &mnuReCenterWindow, "mnuReCenterWindow", QStringLiteral("Center &Window..."), {},
         "Center the Media Library within the screen.");

    top(&mnuHelp, "mnuHelp", QStringLiteral("&Help"));
    item(mnuHelp, &mnuConsole, "mnuConsole", QStringLiteral("&Console..."), {}, "Show all of the logs about the use of VELTRA.");
    item(mnuHelp, &mnuTracking, "mnuTracking", QStringLiteral("&Tracking..."), {},
         "Show information about all of the media files that have been played.");
    item(mnuHelp, &mnuVolumes, "mnuVolumes", QStringLiteral("&Volumes..."), {},
         "Show the media files that have specific volume settings saved for them.");
    separator(mnuHelp, "mnuLineBreak3");
    item(mnuHelp, &mnuForum, "mnuForum", QStringLiteral("Quillonex &Forum..."), {},
         "Go to the main Quillonex Forum page, where you can post comments, read news, etc.");
    item(mnuHelp, &mnuHomepage, "mnuHomepage", QStringLiteral("Quillonex &Homepage..."), {},
         "Go to the main Quillonex website, where you can check for updates, etc.");
    separator(mnuHelp, "mnuLineBreak15");
    item(mnuHelp, &mnuCheckForUpdates, "mnuCheckForUpdates", QStringLiteral("Check For &Updates..."), {},
         "Check for the lastest updates available online.");
    separator(mnuHelp, "mnuLineBreak4");
    item(mnuHelp, &mnuAboutWindows, "mnuAboutWindows", QStringLiteral("About &Windows..."), {},
         "Show information about this version of Microsoft Windows.");
    item(mnuHelp, &mnuAbout, "mnuAbout", QStringLiteral("&About VELTRA..."), {}, "Show information about this version of VELTRA.");
}

void FrmMediaLibrary::createControls()
{
    picClient = new QWidget(this);
    picClient->setObjectName(QStringLiteral("picClient"));
    setCentralWidget(picClient);
    QWidget* p = picClient;

    qxpSearchOptions = captionPanel(p, "qxpSearchOptions", QStringLiteral("Search Options:"));
    place(qxpSearchOptions, 120, 120, 3615, 315);
    auto* tree = new SourceTree(p);
    tree->chosenByKey = [this](QTreeWidgetItem* node) { tvOptions_NodeClick(node); };
    tvOptions = tree;
    tvOptions->setObjectName(QStringLiteral("tvOptions"));
    tvOptions->setHeaderHidden(true);
    tvOptions->setColumnCount(1);
    tvOptions->setSelectionMode(QAbstractItemView::SingleSelection);
    place(tvOptions, 120, 480, 3615, 5055);

    nfpSearch = searchBar(p, "nfpSearch", {120, 5640, 3615, 435}, 120, "txtOptionSearch", {840, 60, 2710, 315}, &txtOptionSearch);

    qxpArtists = captionPanel(p, "qxpArtists", QStringLiteral("Artists:"));
    place(qxpArtists, 3960, 120, 2775, 315);
    qxpYear = captionPanel(p, "qxpYear", QStringLiteral("Year:"));
    place(qxpYear, 6840, 120, 1575, 315);
    qxpAlbums = captionPanel(p, "qxpAlbums", QStringLiteral("Albums:"));
    place(qxpAlbums, 8520, 120, 2775, 315);
    lstArtist = indexList(p, "lstArtist");
    place(lstArtist, 3960, 480, 2775, 1815);
    lstYear = indexList(p, "lstYear");
    place(lstYear, 6840, 480, 1575, 1815);
    lstAlbum = indexList(p, "lstAlbum");
    place(lstAlbum, 8520, 480, 2775, 1815);

    qxpSearch = searchBar(p, "qxpSearch", {3960, 2400, 7335, 435}, 90, "txtSearch", {720, 60, 6550, 315}, &txtSearch);

    lstvResults = new ListView(p);
    lstvResults->setObjectName(QStringLiteral("lstvResults"));
    lstvResults->setColumns(library::resultHeaders());
    lstvResults->setMultiSelect(false);
    place(lstvResults, 3960, 3000, 7335, 1215);

    lstvFilenames = new ListViewModel(this);
    lstvFilenames->setObjectName(QStringLiteral("lstvFilenames"));
    lstvFilenames->setColumns(library::workingHeaders());

    sbStatusBar = new QStatusBar(p);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(false);
    sbPanel[0] = new QLabel(QStringLiteral("Status:"), sbStatusBar);
    sbPanel[1] = new QLabel(QStringLiteral("Songs:  None"), sbStatusBar);
    for (QLabel* panel : sbPanel) {
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    sbPanel[1]->setMinimumWidth(vb::TwipsToPixels(kSongsPanelWidth));
    sbStatusBar->addWidget(sbPanel[0], 1);
    sbStatusBar->addPermanentWidget(sbPanel[1]);
    place(sbStatusBar, 0, 7515, 13095, 330);

    uswMenuLine = new ctlQX_wLine3D(p);
    uswMenuLine->setObjectName(QStringLiteral("uswMenuLine"));
    place(uswMenuLine, 0, -120, 5655, 255);

    tmrWindowUpdate = new QTimer(this);
    tmrWindowUpdate->setObjectName(QStringLiteral("tmrWindowUpdate"));
    tmrWindowUpdate->setInterval(50);

    resize(vb::TwipsToPixels(13095), vb::TwipsToPixels(7845) + menuBar()->sizeHint().height());
}

void FrmMediaLibrary::connectControls()
{
    connect(tmrWindowUpdate, &QTimer::timeout, this, [this] { tmrWindowUpdate_Timer(); });
    for (QMenu* m : {mnuFile, mnuArrange, mnuWindow, mnuHelp}) {
        connect(m, &QMenu::hovered, this, [this](QAction* a) { window_MenuHelp(a); });
        connect(m, &QMenu::aboutToHide, this, [this] { window_MenuClosed(); });
    }
    connectCommands();

    connect(tvOptions, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* node) { tvOptions_NodeClick(node); });
    connect(tvOptions, &QTreeWidget::itemDoubleClicked, this, [this] { tvOptions_DblClick(); });
    connect(txtOptionSearch, &QLineEdit::textChanged, this, [this] { txtOptionSearch_Change(); });
    connect(txtSearch, &QLineEdit::textChanged, this, [this] { txtSearch_Change(); });
    // A selection by the user, with the mouse or the keys, searches; one made in code does not.
    connect(lstArtist, &QListWidget::currentRowChanged, this, [this](int row) { if (row >= 0) lstArtist_Click(); });
    connect(lstYear, &QListWidget::currentRowChanged, this, [this](int row) { if (row >= 0) lstYear_Click(); });
    connect(lstAlbum, &QListWidget::currentRowChanged, this, [this](int row) { if (row >= 0) lstAlbum_Click(); });

    for (QObject* o : std::initializer_list<QObject*>{lstArtist, lstYear, lstAlbum, txtOptionSearch, txtSearch, lstvResults,
                                                      lstvResults->viewport(), picClient})
        o->installEventFilter(this);

    // A load is stale once rows it works on are removed or the list is emptied.
    connect(lstvFilenames, &QAbstractItemModel::rowsRemoved, this, [this] { ++m_listRemovals; });
    connect(lstvFilenames, &QAbstractItemModel::modelReset, this, [this] { ++m_listRemovals; });
}

// ---- opening and closing --------------------------------------------------------------------------

void FrmMediaLibrary::Form_Load()
{
    LayoutReady = false;
    forms().get<FrmConsole>().window_WriteLog(QStringLiteral("Media Library opened at ") + vb::TimeOfDay() + u'.');
    windows_LoadPosition(this, QStringLiteral("MediaLibrary"), 1800);
    for (const StoredColumn& c : kStoredColumns) {
        bool ok = false;
        const double width = vb::ToDouble(settings_ReadValue(kColumns, QString::fromLatin1(c.key), c.defaultWidth), &ok);
        // a width that is not a number, or one no column can have, gives the default
        lstvResults->setColumnWidthTwips(c.column, ok && width >= 0 ? width : c.defaultWidth);
    }
    mnuClose->setText(mnuClose->text() + QStringLiteral("\tAlt+F4"));
    mnuClose->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
    LayoutReady = true;
    library_Setup();
    recentplaylists_BuildMenu(*this);
    recentmedia_BuildMenu(*this);
    window_SetMenuImages();

    const bool onTop = settings_ReadFlag(kSettings, QStringLiteral("AlwaysOnTop"), QStringLiteral("0"));
    if (onTop) mnuAlwaysOnTop->setChecked(true);
    windows_SetAlwaysOnTop(this, onTop);
    const bool searchBar = settings_ReadFlag(kSettings, QStringLiteral("ShowSearchBar"), QStringLiteral("1"));
    mnuShowSearchBar->setChecked(searchBar);
    nfpSearch->setVisible(searchBar);
    const bool statusBar = settings_ReadFlag(kSettings, QStringLiteral("ShowStatusBar"), QStringLiteral("1"));
    mnuShowStatusBar->setChecked(statusBar);
    sbStatusBar->setVisible(statusBar);
    if (settings_ReadFlag(kSettings, QStringLiteral("ShowPlaylistHeaders"), QStringLiteral("0"))) mnuShowPlaylistHeaders->setChecked(true);
    lstvResults->setHideColumnHeaders(!mnuShowPlaylistHeaders->isChecked());
    if (settings_ReadFlag(kSettings, QStringLiteral("UseID3v2Tags"), QStringLiteral("0"))) mnuUseID3v2Tags->setChecked(true);

    Form_Resize();
    LibraryReady = true;
    window_InstallSendToMoods();
    setStatus(kWaiting);
    if (QTreeWidgetItem* first = node(1)) tvOptions->setCurrentItem(first);
    tmrWindowUpdate->start();
}

void FrmMediaLibrary::Form_QueryUnload()
{
    windows_SavePosition(this, QStringLiteral("MediaLibrary"), 1800);
    for (const StoredColumn& c : kStoredColumns)
        settings_WriteValue(kColumns, QString::fromLatin1(c.key), vb::CStr(float(lstvResults->columnWidthTwips(c.column))));
    if (forms().isLoaded<FrmMain>()) {
        FrmMain& main = forms().get<FrmMain>();
        main.window_UpdateMoods();
        main.mnuOpenMediaLibrary->setChecked(false);
    }
}

void FrmMediaLibrary::closeEvent(QCloseEvent* event)
{
    // The window always closes. While a load or search runs it only hides: the loop ends at
    // its next row, and the window goes once the last one has returned.
    event->accept();
    if (m_closing) return;
    Form_QueryUnload();
    tmrWindowUpdate->stop();
    if (m_busy > 0) {
        m_closing = true;
        hide();
        return;
    }
    forms().unloadLater<FrmMediaLibrary>();
}

void FrmMediaLibrary::showEvent(QShowEvent* event)
{
    // Opened again before a close during a load had finished: the window stays.
    if (m_closing) {
        m_closing = false;
        tmrWindowUpdate->start();
    }
    QMainWindow::showEvent(event);
}

void FrmMediaLibrary::mnuClose_Click() { close(); }

// ---- layout ---------------------------------------------------------------------------------------

void FrmMediaLibrary::Form_Resize()
{
    if (!LayoutReady) return;   // minimised too: see FrmMain::Form_Resize
    const int H = twips(picClient->height());
    const int W = twips(picClient->width());
    const int S = mnuShowStatusBar->isChecked() ? twips(sbStatusBar->height()) : 0;
    const QRect tree = tvOptions->geometry();
    // A size that would come out negative leaves that control as it was.
    auto setHeight = [](QWidget* w, int height) {
        if (height >= 0) w->resize(w->width(), vb::TwipsToPixels(height));
    };
    auto setWidth = [](QWidget* w, int width) {
        if (width >= 0) w->resize(vb::TwipsToPixels(width), w->height());
    };
    const int treeTop = twips(tree.top());
    if (mnuShowSearchBar->isChecked())
        setHeight(tvOptions, H - S - treeTop - twips(nfpSearch->height()) - 240);
    else
        setHeight(tvOptions, H - S - treeTop - 120);
    setHeight(lstvResults, H - S - twips(lstvResults->y()) - 120);
    nfpSearch->move(nfpSearch->x(), vb::TwipsToPixels(treeTop + twips(tvOptions->height()) + 120));
    setWidth(lstvResults, W - twips(lstvResults->x()) - 120);
    setWidth(lstAlbum, W - twips(lstAlbum->x()) - 120);
    setWidth(qxpAlbums, W - twips(qxpAlbums->x()) - 120);
    setWidth(qxpSearch, W - twips(qxpSearch->x()) - 120);
    setWidth(txtSearch, twips(qxpSearch->width()) - twips(txtSearch->x()) - 60);
    const int outer = twips(frameGeometry().width());
    const int songs = twips(sbPanel[1]->minimumWidth());
    if (isMaximized()) sbPanel[0]->setMinimumWidth(std::max(0, vb::TwipsToPixels(outer - songs - 160)));
    else sbPanel[0]->setMinimumWidth(std::max(0, vb::TwipsToPixels(outer - songs - 420)));
    setWidth(uswMenuLine, W);
    int path = twips(lstvResults->width()) - 360;
    for (const StoredColumn& c : kStoredColumns) path -= int(lstvResults->columnWidthTwips(c.column));
    if (path >= 0) lstvResults->setColumnWidthTwips(library::ResPath, path);
    // the status bar keeps to the bottom edge, as wide as the window
    sbStatusBar->setGeometry(0, picClient->height() - sbStatusBar->height(), picClient->width(), sbStatusBar->height());
}

bool FrmMediaLibrary::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == picClient) Form_Resize();
        break;
    case QEvent::FocusIn:
        if (watched == lstArtist) lstArtist_GotFocus();
        else if (watched == lstYear) lstYear_GotFocus();
        else if (watched == lstAlbum) lstAlbum_GotFocus();
        else if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            // the box takes a light lilac while it has the focus, with its text selected
            QPalette pal = box->palette();
            pal.setColor(QPalette::Base, QColor(230, 230, 250));
            box->setPalette(pal);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
        break;
    case QEvent::FocusOut:
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            QPalette pal = box->palette();
            pal.setColor(QPalette::Base, Qt::white);
            box->setPalette(pal);
        }
        break;
    case QEvent::KeyPress:
        if (watched == lstvResults) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Menu) return lstvResults_KeyDown(93, 0);
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == lstvResults->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const int button = mouse->button() == Qt::LeftButton ? 1 : mouse->button() == Qt::RightButton ? 2 : 4;
            lstvResults_MouseDown(button, 0, mouse->position().toPoint());
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- menus ----------------------------------------------------------------------------------------

void FrmMediaLibrary::window_SetMenuImages()
{
    const std::tuple<QAction*, const char*, QStyle::StandardPixmap> pictures[] = {
        {mnuNew, "document-new", QStyle::SP_FileIcon},
        {mnuAddFiles, "media-eject", QStyle::SP_DirOpenIcon},
        {mnuOpen, "document-open", QStyle::SP_DialogOpenButton},
        {mnuSaveAs, "document-save", QStyle::SP_DialogSaveButton},
        {mnuClose, "window-close", QStyle::SP_DialogCloseButton},
        {mnuReCenterWindow, "zoom-fit-best", QStyle::SP_DesktopIcon},
        {mnuTracking, "document-new", QStyle::SP_FileIcon},
        {mnuAbout, "help-about", QStyle::SP_MessageBoxInformation},
    };
    for (const auto& [menuItem, name, fallback] : pictures) menuItem->setIcon(controls_ThemeIcon(name, fallback));
}

void FrmMediaLibrary::window_InstallSendToMoods()
{
    QAction* zero = mnuSendToOp->at(0);
    zero->setVisible(false);
    zero->setEnabled(true);
    if (!MoodList.isEmpty()) {
        for (const QString& name : MoodList.split(u'|')) {
            QAction* a = mnuSendToOp->load(mnuSendToOp->ubound() + 1);
            if (!a) continue;
            menu_SetNameItem(a, name);
            a->setVisible(true);
            a->setEnabled(true);   // a hidden element 0 reads as disabled; the copies must not
        }
    }
    mnuLineMoodBreak->setVisible(false);
}

void FrmMediaLibrary::window_RemoveMoodMenus()
{
    if (mnuSendToOp->count() >= 2) mnuSendToOp->unloadAbove(0);
}

void FrmMediaLibrary::window_MenuHelp(QAction* menuItem)
{
    const QString help = m_help.value(menuItem);
    if (help.isEmpty()) {
        window_MenuClosed();
        return;
    }
    MenuHelpShown = true;
    if (sbPanel[0]->text() != help) sbPanel[0]->setText(help);
}

void FrmMediaLibrary::window_MenuClosed()
{
    if (!MenuHelpShown) return;
    MenuHelpShown = false;
    if (sbPanel[0]->text() != kWaiting) sbPanel[0]->setText(kWaiting);
}

QString FrmMediaLibrary::statusPanelText(int panel) const
{
    return panel >= 1 && panel <= 2 ? sbPanel[panel - 1]->text() : QString();
}

void FrmMediaLibrary::setStatus(const QString& text)
{
    if (!MenuHelpShown && sbPanel[0]->text() != text) sbPanel[0]->setText(text);
}

// ---- the update timer -------------------------------------------------------------------------------

void FrmMediaLibrary::tmrWindowUpdate_Timer()
{
    const bool mainHasRows = forms().isLoaded<FrmMain>() && forms().get<FrmMain>().rows().count() >= 1;
    if (mainHasRows) controls_EnableMenu(mnuImportCurrentPlaylist);
    else controls_DisableMenu(mnuImportCurrentPlaylist);
    for (QAction* a : {mnuRemoveAlDeadFilenames, mnuRemoveDuplicateFilenames}) {
        if (lstvFilenames->count() >= 1) controls_EnableMenu(a);
        else controls_DisableMenu(a);
    }
    const int songs = results().count();
    const QString count = songs == 0 ? QStringLiteral("Songs:  None") : QStringLiteral("Songs:  ") + QString::number(songs);
    if (sbPanel[1]->text() != count) sbPanel[1]->setText(count);
    for (QAction* a : {mnuExportToVELTRA, mnuSaveAs, mnuSendTo->menuAction(), mnuRemoveSelected}) {
        if (songs == 0) controls_DisableMenu(a);
        else controls_EnableMenu(a);
    }
}
