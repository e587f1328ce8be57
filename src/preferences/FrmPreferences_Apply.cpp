// Apply: the numeric boxes are checked first (the first bad one is reported and nothing is
// written); then every value is written, changed or not, and pushed into the running windows.
// OK applies what is pending and closes; a failed check keeps the dialog open.
#include "preferences/FrmPreferences.h"

#include "common/FrmConsole.h"
#include "common/ListView.h"
#include "common/modAssociations.h"
#include "common/modControls.h"
#include "common/modFiles.h"
#include "common/modRecent.h"
#include "common/modSettings.h"
#include "common/modTray.h"
#include "common/modVB.h"
#include "common/modWindows.h"
#include "controls/ctlQX_noFocusPanel.h"
#include "extras/FrmCDPlayer.h"
#include "extras/FrmTracking.h"
#include "platform/ProgramFolder.h"
#include "platform/UiServices.h"
#include "mainwindow/FrmMain.h"
#include "player/modGlobalKeys.h"
#include "preferences/FrmAdjustVolumes.h"
#include "preferences/modPreferenceKeys.h"
#include "startup/Forms.h"
#include "startup/modGlobalKeySettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTime>
#include <QFileInfo>

using namespace veltra;
using prefkeys::OptionGroup;

namespace {

const QString kSettings = QStringLiteral("Settings");

QString flag(const QCheckBox* box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

// The first chosen option of a group, in index order; -1 when none is.
int chosenOption(const std::vector<QRadioButton*>& buttons)
{
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked()) return int(i);
    return -1;
}

using Command = void (FrmMain::*)();

// The main-window command that selects each option, by group.
std::vector<Command> commandsOf(OptionGroup group)
{
    switch (group) {
    case OptionGroup::Playback:
        return {&FrmMain::mnuPlayingShuffleByArtist_Click, &FrmMain::mnuPlayingShuffleByAlbum_Click,
                &FrmMain::mnuPlayingShuffleByYear_Click,   &FrmMain::mnuPlayingRepeat_Click,
                &FrmMain::mnuPlayingRepeatOnce_Click,      &FrmMain::mnuPlayingStopAfterEnding_Click,
                &FrmMain::mnuPlayingPickRandomSongs_Click, &FrmMain::mnuPlayingGoThroughPlaylistNormally_Click,
                &FrmMain::mnuPlayingIntroduction_Click};
    case OptionGroup::Direction: return {&FrmMain::mnuWorkForwardThroughList_Click, &FrmMain::mnuWorkBackwardsThroughPlaylist_Click};
    case OptionGroup::Playlist:
        return {&FrmMain::mnuPlaylistRepeat_Click, &FrmMain::mnuPlaylistRepeatOnce_Click, &FrmMain::mnuPlaylistStopAfterEnding_Click,
                &FrmMain::mnuPlaylistPickRandomAfterEnding_Click, &FrmMain::mnuPlaylistSwitchToNext_Click};
    case OptionGroup::Time: return {&FrmMain::mnuStatusBarShowTimeElapsed_Click, &FrmMain::mnuStatusBarShowTimeRemaining_Click};
    case OptionGroup::SortBy:
        return {&FrmMain::mnuSortByArtist_Click, &FrmMain::mnuSortByTitle_Click, &FrmMain::mnuSortByYear_Click,
                &FrmMain::mnuSortByLength_Click, &FrmMain::mnuSortByFilename_Click};
    case OptionGroup::SortIn: return {&FrmMain::mnuSortViaAcending_Click, &FrmMain::mnuSortViaDecending_Click, &FrmMain::mnuDontSort_Click};
    }
    return {};
}

void runChosen(FrmMain& main, const std::vector<QRadioButton*>& buttons, OptionGroup group)
{
    const int chosen = chosenOption(buttons);
    const std::vector<Command> commands = commandsOf(group);
    if (chosen >= 0 && size_t(chosen) < commands.size()) (main.*commands[size_t(chosen)])();
}

} // namespace

bool FrmPreferences::applyRangeChecks()
{
    struct Check {
        QLineEdit* box;
        prefkeys::NumberBox which;
        int section;
    };
    const Check checks[] = {
        {txtSkipRate, prefkeys::SkipRate, PlaybackOptions},
        {txtIntroduction, prefkeys::Introduction, PlaybackOptions},
        {txtMaxPlaylists, prefkeys::MaxPlaylists, RecentFilenames},
        {txtMaxFiles, prefkeys::MaxFiles, RecentFilenames},
    };
    for (const Check& c : checks) {
        const prefkeys::NumberSetting& n = prefkeys::number(c.which);
        if (controls_ValidateRange(c.box, n.maximum, n.minimum)) continue;
        msgBox(prefkeys::rangeMessage(c.which), MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Error Saving The Preferences"));
        // The box's panel alone; the heading and the highlighted label stay as they were.
        for (int i = 0; i < SectionCount; ++i) sectionPanel(i)->setVisible(i == c.section);
        c.box->setFocus();
        return false;
    }
    return true;
}

bool FrmPreferences::cmdApply_Click()
{
    // 1
    if (!applyRangeChecks()) return false;
    FrmMain& main = forms().get<FrmMain>();
    const auto checks = prefkeys::checkSettings();
    auto writeCheck = [&](int i) { settings_WriteValue(kSettings, QString::fromLatin1(checks[size_t(i)].key), flag(chkSetting[size_t(i)])); };
    auto writeNumber = [&](QLineEdit* box, prefkeys::NumberBox which) {
        settings_WriteValue(kSettings, QString::fromLatin1(prefkeys::number(which).key), box->text());
    };

    // 2
    for (int i : {7, 8, 6, 9, 11, 12}) writeCheck(i);
    writeNumber(txtSkipRate, prefkeys::SkipRate);
    writeNumber(txtIntroduction, prefkeys::Introduction);
    for (int i : {13, 14, 15}) writeCheck(i);
    writeNumber(txtMaxPlaylists, prefkeys::MaxPlaylists);
    writeNumber(txtMaxFiles, prefkeys::MaxFiles);
    for (int i = 16; i <= 29; ++i) writeCheck(i);

    // 3: by position, keys first, then the modifiers
    const QString G = QStringLiteral("GlobalKeys");
    const ListViewModel& hotkeys = lstvItems->items();
    const auto bindings = globalkeys_Bindings();
    for (int column : {int(HotkeyKey), int(HotkeyExtension)}) {
        const QString suffix = column == HotkeyKey ? QStringLiteral("Key") : QStringLiteral("Ext");
        for (size_t i = 0; i < bindings.size(); ++i)
            settings_WriteValue(G, QString::fromLatin1(bindings[i].keyWord) + suffix, hotkeys.cell(int(i) + 1, column));
    }

    // 4, 5
    RecentPlaylistsMax = vb::CInt(vb::Val(txtMaxPlaylists->text()));
    RecentMediaMax = vb::CInt(vb::Val(txtMaxFiles->text()));
    settings_LoadGlobalKeys();

    // 6: the main window's switch follows, and the polling with it
    if (main.mnuWindowsDisableGlobalHotkeys->isChecked() != chkSetting[25]->isChecked()) main.mnuWindowsDisableGlobalHotkeys_Click();

    // 7 - 10
    const QString A = QStringLiteral("Appearance");
    for (int i = 0; i < prefkeys::ColourCount; ++i)
        settings_WriteValue(A, QString::fromLatin1(prefkeys::colour(prefkeys::PlaylistColour(i)).key), prefkeys::colourText(colourOf(i)));
    settings_WriteValue(A, QString::fromLatin1(prefkeys::FontKey), lblFont->text());
    settings_WriteValue(A, QString::fromLatin1(prefkeys::FontsizeKey), lblFontsize->text());
    const quint32 back = colourOf(prefkeys::Background);
    const quint32 fore = colourOf(prefkeys::Font);
    settings_WriteValue(A, QString::fromLatin1(prefkeys::ImageKey), txtImage->text());
    main.window_SetPlaylistLooks(lblFont->text(), vb::Val(lblFontsize->text()), back, fore);

    // 11
    if (main.mnuOpenCDPlayer->isChecked() && forms().isLoaded<FrmCDPlayer>()) {
        FrmCDPlayer& cd = forms().get<FrmCDPlayer>();
        cd.lstvPlaylist->setBackColour(back);
        cd.lstvPlaylist->setForeColour(fore);
    }

    // 12, 13
    main.playlist_UpdatePlaylist(main.PlayerState == FrmMain::Playback::Stopped ? 0 : main.CurrentTrack);
    controls_RenumberItems(main.rows());

    // 14: a file that is gone, or no picture, leaves the playlist without one
    const QString image = txtImage->text();
    main.lstvPlaylist->setBackgroundPicture(!image.isEmpty() && files_FileExists(image) && QFileInfo(image).isFile() ? QPixmap(image) : QPixmap());

    // 15
    FrmConsole& console = forms().get<FrmConsole>();
    console.chkWriteLogs->setChecked(chkSetting[20]->isChecked());
    FrmTracking& tracking = forms().get<FrmTracking>();
    tracking.chkAlwaysUseTracking->setChecked(chkSetting[21]->isChecked());
    FrmAdjustVolumes& volumes = forms().get<FrmAdjustVolumes>();
    volumes.chkAlwaysAdjust->setChecked(chkSetting[22]->isChecked());
    console.chkWriteLogs_Click();
    tracking.chkAlwaysUseTracking_Click();
    volumes.chkAlwaysAdjust_Click();

    // 16
    for (int i = 0; i < lstTypes->count(); ++i)
        settings_WriteValue(QStringLiteral("FileTypes"), lstTypes->item(i)->text().toUpper(),
                            lstTypes->item(i)->checkState() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0"));

    // 17
    tray_RemoveIcon();
    if (chkSetting[15]->isChecked()) tray_AddIcon(QString(), &main, main.windowIcon());

    // 18
    if (chkSetting[13]->isChecked()) registry_AddStartupEntry(programfolder::title(), associations::startupCommandLine());
    else registry_RemoveStartupEntry(programfolder::title());

    // 19, 20
    runChosen(main, opPlayback, OptionGroup::Playback);
    runChosen(main, opDirection, OptionGroup::Direction);
    runChosen(main, opPlaylist, OptionGroup::Playlist);
    runChosen(main, opTime, OptionGroup::Time);

    // 21: each effect, then its key
    const bool onTop = chkSetting[0]->isChecked();
    main.mnuAlwaysOnTop->setChecked(onTop);
    windows_SetAlwaysOnTop(&main, onTop);
    writeCheck(0);
    const bool hidden = chkSetting[1]->isChecked();
    main.mnuHideInTheTaskManager->setChecked(hidden);
    windows_SetTaskbarVisible(&main, !hidden);
    writeCheck(1);
    main.window_ShowToolbar(chkSetting[2]->isChecked());
    writeCheck(2);
    main.mnuShowStatusBar->setChecked(chkSetting[3]->isChecked());
    main.sbStatusBar->setVisible(chkSetting[3]->isChecked());
    writeCheck(3);
    main.mnuShowPlaylistHeaders->setChecked(chkSetting[4]->isChecked());
    main.lstvPlaylist->setHideColumnHeaders(!chkSetting[4]->isChecked());
    writeCheck(4);
    main.mnuShowFilenamesColumn->setChecked(chkSetting[10]->isChecked());
    writeCheck(10);
    main.mnuWindowsShowEachSongAsItsPlayed->setChecked(chkSetting[5]->isChecked());
    writeCheck(5);

    // 22, 23
    runChosen(main, opSortBy, OptionGroup::SortBy);
    runChosen(main, opSortIn, OptionGroup::SortIn);
    main.Form_Resize();

    // 24, 25
    console.window_WriteLog(programfolder::title() + QStringLiteral(" preferences were updated at ")
                            + QLocale().toString(QTime::currentTime(), QLocale::ShortFormat) + u'.');
    cmdApply->setEnabled(false);
    cmdOK->setDefault(true);
    return true;
}

void FrmPreferences::cmdOK_Click()
{
    // A failed range check keeps the dialog open with the user's edits.
    if (cmdApply->isEnabled() && !cmdApply_Click()) return;
    accept();
}
