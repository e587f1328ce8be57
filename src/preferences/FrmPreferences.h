#pragma once
// "Preferences": most of settings.ini in ten sections. Every control is filled from the
// settings when the dialog loads; nothing is written until Apply or OK, which also push the
// values into the running windows. The reset buttons and "Register Now " act at once.
// The dialog is loaded afresh for each opening. Its handlers are split over:
//   FrmPreferences.cpp        layout, loading, sections, the editing handlers and pickers
//   FrmPreferences_Apply.cpp  Apply and OK
//   FrmPreferences_Pages.cpp  the hot-key editor and the file-types page
#include "common/ToolDialog.h"

#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

class ListView;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class SectionSelector;
class ctlQX_3DPanel;
class ctlQX_noFocusPanel;

class FrmPreferences : public ToolDialog {
    Q_OBJECT
public:
    FrmPreferences();

    static constexpr int SectionCount = 10;
    // The sections by index, as callers name them.
    enum Section {
        DisplaySettings = 0,
        PlaybackOptions,
        PlaylistSorting,
        RecentFilenames,
        AdvancedSettings,
        FileAssociations,
        WindowSettings,
        GlobalHotKeys,
        Appearance,
        StartUpSettings
    };
    // The hot-key list's columns.
    enum HotkeyColumn { HotkeyNumber = 0, HotkeyType, HotkeyExtension, HotkeyKey };

    // ---- sections ----------------------------------------------------------------------------
    std::array<ctlQX_3DPanel*, SectionCount> tpSectionSelector{};
    std::array<QLabel*, SectionCount> lblSection{};
    QLabel* lblTitle = nullptr;
    ctlQX_noFocusPanel* nfpDisplay = nullptr;
    ctlQX_noFocusPanel* nfpPlayback = nullptr;
    ctlQX_noFocusPanel* nfpSorting = nullptr;
    ctlQX_noFocusPanel* nfpFiles = nullptr;
    ctlQX_noFocusPanel* nfpAdvanced = nullptr;
    ctlQX_noFocusPanel* nfpFileAss = nullptr;
    ctlQX_noFocusPanel* nfpWindowSettings = nullptr;
    ctlQX_noFocusPanel* nfpGlobalHotKeys = nullptr;
    ctlQX_noFocusPanel* nfpAppearance = nullptr;
    ctlQX_noFocusPanel* nfpStartup = nullptr;
    // The section panels in index order.
    ctlQX_noFocusPanel* sectionPanel(int index) const;

    // ---- switches and options ----------------------------------------------------------------
    std::vector<QCheckBox*> chkSetting;   // 0 to 29
    std::vector<QRadioButton*> opPlayback;
    std::vector<QRadioButton*> opDirection;
    std::vector<QRadioButton*> opPlaylist;
    std::vector<QRadioButton*> opTime;
    std::vector<QRadioButton*> opSortBy;
    std::vector<QRadioButton*> opSortIn;
    ctlQX_noFocusPanel* nfpPlaybackSettings = nullptr;
    ctlQX_noFocusPanel* nfpDirection = nullptr;
    ctlQX_noFocusPanel* nfpPlaylist = nullptr;
    ctlQX_noFocusPanel* nfpSortingOptions = nullptr;
    ctlQX_noFocusPanel* nfpOrder = nullptr;

    // ---- numbers and recent lists ------------------------------------------------------------
    QLineEdit* txtSkipRate = nullptr;
    QLineEdit* txtIntroduction = nullptr;
    QLineEdit* txtMaxPlaylists = nullptr;
    QLineEdit* txtMaxFiles = nullptr;
    QPushButton* cmdResetRecentFiles = nullptr;
    QPushButton* cmdResetRecentPlaylists = nullptr;

    // ---- file types --------------------------------------------------------------------------
    QListWidget* lstTypes = nullptr;   // a type is marked when its entry is checked
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdUnselectAll = nullptr;
    QPushButton* cmdRegisterNow = nullptr;

    // ---- global hot keys ---------------------------------------------------------------------
    ListView* lstvItems = nullptr;
    QLineEdit* txtName = nullptr;
    QComboBox* cmbExtension = nullptr;
    QComboBox* cmbShortcutKeys = nullptr;
    QPushButton* cmdResetGlobalKeys = nullptr;
    bool HotkeyListsFilled = false;

    // ---- appearance --------------------------------------------------------------------------
    std::array<QLabel*, 4> picColour{};     // the colour is the box's own number (colourOf)
    std::array<QPushButton*, 4> cmdColour{};
    QLabel* lblFont = nullptr;
    QLabel* lblFontsize = nullptr;
    QPushButton* cmdChangeFont = nullptr;
    QLineEdit* txtImage = nullptr;
    QFrame* picBack = nullptr;
    QLabel* lblNoImage = nullptr;   // "(No image currently selected)", under the picture
    QLabel* imgImage = nullptr;
    QPushButton* cmdSelectImage = nullptr;
    QPushButton* cmdRemoveImage = nullptr;
    // The colour numbers of the four boxes: 0x00BBGGRR or system colours.
    quint32 colourOf(int index) const;
    void setColour(int index, quint32 colour);

    QPushButton* cmdOK = nullptr;
    QPushButton* cmdApply = nullptr;

    // ---- operations -----------------------------------------------------------------------------
    // Loads the dialog afresh, shows `section` (-1: the first) and runs it modally over
    // `owner`; it is unloaded when it closes.
    static void prefs_Show(QWidget* owner, int section = -1);
    void window_ShowSection(QWidget* panel, QLabel* label, const QString& title);
    void lblSection_Click(int index);

    void Form_Load();
    // True when everything was written; false when a box failed its range check.
    bool cmdApply_Click();
    void cmdOK_Click();
    void cmdClose_Click();

    void chkSetting_Click(int index);
    void markChanged();
    void txtImage_Change();
    void cmdSelectImage_Click();
    void cmdRemoveImage_Click();
    void cmdChangeFont_Click();
    void cmdColour_Click(int index);
    void cmdResetRecentFiles_Click();
    void cmdResetRecentPlaylists_Click();

    // The hot-key editor and the file types.
    void prefs_FillHotkeyLists(QComboBox* extensions, QComboBox* keys);
    void prefs_AddHotkeyRow(const QString& type, const QString& extension, const QString& key);
    void lstvItems_Click();
    void lstvItems_KeyUp();
    void cmbExtension_Click();
    void cmbShortcutKeys_Click();
    void cmdResetGlobalKeys_Click();
    void lstTypes_Click();
    void cmdSelectAll_Click();
    void cmdUnselectAll_Click();
    void cmdRegisterNow_Click();
    // The hot-key row being edited (1-based); 0 while no row is selected.
    int currentHotkeyRow() const;
    // The file types marked, in list order (upper case).
    QStringList markedTypes() const;

    static QString separatorOf(int length) { return QString(length, u'-'); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSections();
    void buildDisplay();
    void buildPlayback();
    void buildSorting();
    void buildFiles();
    void buildFileAssociations();
    void buildGlobalHotKeys();
    void buildAppearance();
    // A section panel with its column of controls.
    ctlQX_noFocusPanel* newPanel(const char* name, QVBoxLayout** layout, int spacing = 2);
    // A section of check boxes only, in the order shown.
    ctlQX_noFocusPanel* checkPanel(const char* name, std::initializer_list<int> boxes);
    QCheckBox* checkBox(int index, QWidget* parent);
    std::vector<QRadioButton*> optionGroup(int group, QWidget* parent);
    QLineEdit* numberBox(const char* name, QWidget* parent);
    // A button of the panels: no default-button behaviour of its own, its handler on a click.
    QPushButton* newButton(const char* name, const QString& caption, QWidget* parent, std::function<void()> handler);
    void loadImage(const QString& path);
    // The picture scaled down to the preview's present size.
    void showPicture();
    void lockHotkeyEditor(bool locked);
    // A value chosen in one of the hot-key lists goes into the current row ("(None)": no modifier).
    void writeChoice(QComboBox* list, int column);
    bool applyRangeChecks();

    std::array<quint32, 4> m_colours{};
    QPixmap m_picture;   // the background picture as loaded
    SectionSelector* m_sections = nullptr;
};
