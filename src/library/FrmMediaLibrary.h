#pragma once
// The Media Library window: browses the songs listed in the saved playlists and moods by
// artist, year and album. It keeps no database: each opening starts from the files.
//   tvOptions       the sources (Now Playing, the playlists, the moods)
//   lstvFilenames   the working list (hidden): artist, title, album, year, genre, comment, path
//   lstArtist, lstYear, lstAlbum   the distinct values over the rows whose file exists
//   lstvResults     the songs of the chosen artist, year or album
// Long loads and searches let events run once per row; LibraryReady keeps searches away
// from index lists that are being rebuilt.
#include "library/modMediaLibrary.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

class ListView;
class ListViewModel;
class MenuArray;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class ctlQX_3DPanel;
class ctlQX_wLine3D;

class FrmMediaLibrary : public QMainWindow {
    Q_OBJECT
public:
    FrmMediaLibrary();
    ~FrmMediaLibrary() override;

    // ---- flags ---------------------------------------------------------------------------------
    bool LayoutReady = false;     // the window may lay out its controls
    bool LibraryReady = false;    // the three index lists match the working list
    bool MenuHelpShown = false;   // the Status panel shows a menu help text

    // ---- controls ------------------------------------------------------------------------------
    QWidget* picClient = nullptr;             // the inner area, status bar included
    ctlQX_3DPanel* qxpSearchOptions = nullptr;
    QTreeWidget* tvOptions = nullptr;
    ctlQX_3DPanel* nfpSearch = nullptr;
    QLineEdit* txtOptionSearch = nullptr;
    ctlQX_3DPanel* qxpArtists = nullptr;
    ctlQX_3DPanel* qxpYear = nullptr;
    ctlQX_3DPanel* qxpAlbums = nullptr;
    QListWidget* lstArtist = nullptr;
    QListWidget* lstYear = nullptr;
    QListWidget* lstAlbum = nullptr;
    ctlQX_3DPanel* qxpSearch = nullptr;
    QLineEdit* txtSearch = nullptr;
    ListView* lstvResults = nullptr;
    ListViewModel* lstvFilenames = nullptr;   // never shown
    QStatusBar* sbStatusBar = nullptr;
    QLabel* sbPanel[2] = {nullptr, nullptr};  // Status, Songs
    ctlQX_wLine3D* uswMenuLine = nullptr;
    QTimer* tmrWindowUpdate = nullptr;

    // ---- menu bar ------------------------------------------------------------------------------
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuAddFiles = nullptr;
    QAction* mnuAddPlaylist = nullptr;
    QAction* mnuAddLocation = nullptr;
    QAction* mnuAddDirectory = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSaveAs = nullptr;
    QMenu* mnuRecentMediaFiles = nullptr;
    MenuArray* mnuRecentMedia = nullptr;
    QMenu* mnuRecentPlaylists = nullptr;
    MenuArray* mnuRecentPlaylist = nullptr;
    QAction* mnuPreferences = nullptr;
    QAction* mnuClose = nullptr;
    QMenu* mnuArrange = nullptr;
    QAction* mnuEditMood = nullptr;
    QMenu* mnuRemove = nullptr;
    QAction* mnuRemoveAlDeadFilenames = nullptr;
    QAction* mnuRemoveDuplicateFilenames = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuImportCurrentPlaylist = nullptr;
    QAction* mnuExportToVELTRA = nullptr;
    QAction* mnuUseID3v2Tags = nullptr;
    QMenu* mnuSelected = nullptr;             // also the results list's pop-up menu
    QMenu* mnuSendTo = nullptr;
    QAction* mnuLineMoodBreak = nullptr;
    MenuArray* mnuSendToOp = nullptr;         // mood names; element 0 "[Mood]" stays hidden
    QAction* mnuResetMoods = nullptr;
    QAction* mnuRemoveSelected = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuAlwaysOnTop = nullptr;
    QAction* mnuShowSearchBar = nullptr;
    QAction* mnuShowPlaylistHeaders = nullptr;
    QAction* mnuShowStatusBar = nullptr;
    QAction* mnuReCenterWindow = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuConsole = nullptr;
    QAction* mnuTracking = nullptr;
    QAction* mnuVolumes = nullptr;
    QAction* mnuForum = nullptr;
    QAction* mnuHomepage = nullptr;
    QAction* mnuCheckForUpdates = nullptr;
    QAction* mnuAboutWindows = nullptr;
    QAction* mnuAbout = nullptr;

    // ---- public operations ---------------------------------------------------------------------
    void window_SetMenuImages();
    // Loads the chosen node's playlist or mood; `key` is the key of the node's parent.
    void window_SelectOption(const QString& key);
    // Appends the results as playlist records to the file, or with `replace` writes the file
    // anew through a temporary one (the old file stays whole on failure); false when it
    // could not be written.
    bool window_SavePlaylist(const QString& file, bool replace = false);
    void window_InstallSendToMoods();
    void window_RemoveMoodMenus();
    void mood_Open(const QString& file);
    // Writes the working list's paths, one per line, as the mood's song list (replaced whole).
    bool mood_Save(const QString& file);
    void filenames_ShowID3Data();
    void filenames_Add(const QString& path);
    void filenames_AddDirectory(const QString& directory, const QString& extension);
    void results_Add(const QString& artist, const QString& title, const QString& year, const QString& length,
                     const QString& path);
    void results_Find(const QString& value, int column);
    void library_Update();
    void library_Setup();
    // What the Add Location dialog does for the library: the MPEG audio files of the folder
    // and of every folder below it join the working list, their tags are read and the
    // artist, year and album lists rebuilt. The dialog shows the wait window around it.
    void library_AddLocation(const QString& location);

    // ---- events ----------------------------------------------------------------------------------
    void Form_Load();
    void Form_QueryUnload();
    void Form_Resize();
    void tmrWindowUpdate_Timer();
    void tvOptions_NodeClick(QTreeWidgetItem* node);
    void tvOptions_DblClick();
    void lstArtist_Click();
    void lstYear_Click();
    void lstAlbum_Click();
    void lstArtist_GotFocus();
    void lstYear_GotFocus();
    void lstAlbum_GotFocus();
    void txtOptionSearch_Change();
    void txtSearch_Change();
    // Key codes are the classic virtual-key numbers (93 the context-menu key); true: taken.
    bool lstvResults_KeyDown(int keyCode, int shift);
    void lstvResults_MouseDown(int button, int shift, const QPoint& viewportPos);
    // Menu help from the menus' hover signal; the Status panel goes back to waiting when
    // the highlighted item has no help or the menu closes.
    void window_MenuHelp(QAction* item);
    void window_MenuClosed();

    // ---- commands --------------------------------------------------------------------------------
    // File
    void mnuNew_Click();
    void mnuAddFiles_Click();
    void mnuAddPlaylist_Click();
    void mnuAddLocation_Click();
    void mnuAddDirectory_Click();
    void mnuOpen_Click();
    void mnuSaveAs_Click();
    void mnuRecentMedia_Click(int index);      // index counts from 0
    void mnuRecentPlaylist_Click(int index);
    void mnuClose_Click();
    // Arrange
    void mnuEditMood_Click();
    void mnuRemoveAlDeadFilenames_Click();
    void mnuRemoveDuplicateFilenames_Click();
    void mnuImportCurrentPlaylist_Click();
    void mnuExportToVELTRA_Click();
    void mnuUseID3v2Tags_Click();
    void mnuSendToOp_Click(int index);
    void mnuResetMoods_Click();
    void mnuRemoveSelected_Click();
    // Window
    void mnuAlwaysOnTop_Click();
    void mnuShowSearchBar_Click();
    void mnuShowPlaylistHeaders_Click();
    void mnuShowStatusBar_Click();
    void mnuReCenterWindow_Click();
    // Help
    void mnuConsole_Click();
    void mnuPreferences_Click();
    void mnuTracking_Click();
    void mnuVolumes_Click();
    void mnuForum_Click();
    void mnuHomepage_Click();
    void mnuCheckForUpdates_Click();
    void mnuAboutWindows_Click();
    void mnuAbout_Click();

    // ---- reading the window -----------------------------------------------------------------------
    // Tree nodes in the order they were added (1-based, as the search box goes through them).
    int nodeCount() const { return int(m_nodes.size()); }
    QTreeWidgetItem* node(int index) const;
    // The key of a node's parent ("NowPlaying", "Playlists", "Moods"); empty for a root.
    static QString parentKey(const QTreeWidgetItem* node);
    QString statusPanelText(int panel) const;
    QString menuHelpText(QAction* item) const { return m_help.value(item); }
    ListViewModel& results() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Counts the long operations running. Closing the window meanwhile only hides it; the
    // last one to return unloads it, so no loop ever runs on in a window that has gone.
    class Busy {
    public:
        explicit Busy(FrmMediaLibrary& form);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        FrmMediaLibrary& m_form;
    };
    void connectCommands();
    // One switch of the Window or Options menu: its mark flipped and stored.
    bool toggleSwitch(QAction* item, const char* key);
    // Tags of the working list read, then the artist, year and album lists rebuilt.
    void refresh();
    // The mp3, mp2 and mp1 files of the folder, and with `below` of every folder under it.
    void addFolderTree(const QString& folder, bool below);
    // The playlist dialogs of Add Playlist, Open (false) and Save As (true); "" when cancelled.
    QString playlistDialog(bool save);
    // The playlist's records into the working list, tags read and lists rebuilt; false when
    // the file could not be read (its reader has said so).
    bool loadPlaylistFile(const QString& file, bool replaceRows);
    void addRecentPlaylist(const QString& file);
    void createMenuBar();
    QAction* item(QMenu* menu, QAction** member, const char* name, const QString& caption, const QString& key = QString(),
                  const char* help = nullptr, bool checkable = false);
    QMenu* submenu(QMenu* menu, QMenu** member, const char* name, const QString& caption);
    void createControls();
    void connectControls();
    void setStatus(const QString& text);                 // the Status panel, unless menu help shows
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& key, const QString& text);
    library::Yield rowYield();
    void showIndex(const library::Index& index);
    void selectEntry(QListWidget* list, int row);        // as the user would, without a second search
    void indexList_Click(QListWidget* list, int column);
    void clearOtherSelections(QListWidget* keep);
    void popupSelected(const QPoint& globalPos);

    QHash<QAction*, QString> m_help;
    QList<QTreeWidgetItem*> m_nodes;
    quint64 m_listRemovals = 0;    // rows of the working list removed or reset (a load is then stale)
    quint64 m_searchSerial = 0;    // each search's number; a newer one ends an older one
    int m_busy = 0;                // long operations running (nested through their yields)
    bool m_closing = false;        // closed while busy: unloaded when the last one ends
};
