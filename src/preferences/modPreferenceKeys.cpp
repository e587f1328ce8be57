#include "preferences/modPreferenceKeys.h"

#include "common/modSettings.h"
#include "common/modVB.h"
#include "player/modGlobalKeys.h"

#include <array>
#include <cmath>

namespace prefkeys {

namespace {

constexpr std::array<CheckSetting, CheckCount> kChecks{{
    {"Always make the main window always on top of other windows...", "AlwaysOnTop", "0"},
    {"Always hide VELTRA in the task managers 'Applications' tab section...", "HideInTheTaskManager", "0"},
    {"Show the Toolbar on the main window...", "ShowToolbar", "1"},
    {"Show the Status Bar on the main window...", "ShowStatusBar", "1"},
    {"Show the Column Headers on the main window's playlist...", "ShowPlaylistHeaders", "0"},
    {"Always show song alerts for each song as its started...", "ShowCurrentSongAlerts", "1"},
    {"Always update the windows icons upon loading...", "UpdateWindowsIconsWhenLoading", "0"},
    {"Allow multiple instances of VELTRA to be used...", "AllowMultipleInstances", "0"},
    {"Always register File Associations upon loading...", "RegisterFilesWhenLoading", "0"},
    {"Always scan the playlist for Dead and Duplicate entires when songs are added...", "AlwaysScanPlaylistWhenAddingSongs", "0"},
    {"Show the Filenames Column on the main windows playlist...", "ShowFilenamesColumn", "1"},
    {"Start playing music (when available) upon start-up...", "PlayMusicOnStartUp", "0"},
    {"Always show the Mini-Mode when the main window is closed...", "ShowMiniModeWhenWindowIsClosed", "0"},
    {"Start VELTRA when the Windows session starts...", "StartVELTRAOnWindowsSessionStartup", "0"},
    {"Always show the options screen when using this option...", "ShowOptionsWindow", "1"},
    {"Use system tray support as default (recommended)...", "UseSystemTraySupport", "1"},
    {"Do a recursive scan on directories that are added...", "DoRecursiveDirectoryScan", "1"},
    {"Send media files to the Recycle Bin once they have been physically deleted...", "SendMediaFilesToRecycleBin", "1"},
    {"'Next' and 'Previous' should always play songs when they are used...", "PlayOnNextAndPrevious", "1"},
    {"Start playing playlists as they are skipped manually (using the buttons/menus)...", "PlayPlaylistsOnSkip", "0"},
    {"Always create logs of the actions proformed in VELTRA...", "WriteConsoleLogs", "1"},
    {"Always track the media files that are played...", "AlwaysTrackMediaFilesPlayed", "1"},
    {"Always adjust the volumes of the media files that have been setup...", "AlwaysUseVolumeAdjusting", "0"},
    {"Force the Console window to remember the logs created within each use...", "RememberTheConsoleLogs", "0"},
    {"Ask confirmation to update playlist after switching ID3 Tag type...", "AskConfirmationToUpdatePlaylist", "1"},
    {"Disable the global hotkeys within windows...", "DisableGlobalHotkeys", "0"},
    {"If a longer Artist/Title is found in a TAG, use it (can be slower)...", "UseLargerTAGSWhenAvailable", "0"},
    {"Always use number padding in playlists (001 opposed to 1)...", "UseNumberPaddingInPlaylists", "1"},
    {"When media files are added on startup, clear the current playlist...", "ClearPlaylistWhenFilesAreAddedOnStartUp", "0"},
    {"Start the Video window in full-view mode when a video is played...", "StartVideoinFullModeWhenPlayingVideo", "0"},
}};

constexpr OptionSetting kPlayback[] = {
    {"Playback:  Shuffle through the playlist for songs by a specific Artist...", "Playback", "PlayingShuffleByArtist", "0"},
    {"Playback:  Shuffle through the playlist for songs on a specific Album...", "Playback", "PlayingShuffleByAlbum", "0"},
    {"Playback:  Shuffle through the playlist for songs produced at a specific Year...", "Playback", "PlayingShuffleByYear", "0"},
    {"Playback:  Keep repeating the current song...", "Playback", "PlayingRepeat", "0"},
    {"Playback:  Repeat the current song only once...", "Playback", "PlayingRepeatOnce", "0"},
    {"Playback:  Stop the player once the current song has finished...", "Playback", "PlayingStopAfterEnding", "0"},
    {"Playback:  Pick a random song each time...", "Playback", "PlayingPickRandomSongs", "0"},
    {"Playback:  Go through the playlist normally...", "Playback", "PlayingGoThroughPlaylistNormally", "1"},
    {"Playback:  Only play an introduction of each song in the playlist...", "Playback", "PlayingIntroduction", "0"},
};
constexpr OptionSetting kDirection[] = {
    {"When going to the next song, go forwards through the playlist...", "PlayMode", "WorkForwardThroughList", "1"},
    {"When going to the next song, go backwards through the playlist...", "PlayMode", "WorkBackwardsThroughPlaylist", "0"},
};
constexpr OptionSetting kPlaylist[] = {
    {"Playlist:  Repeat the playlist once it has been finished...", "Playback", "PlaylistRepeat", "0"},
    {"Playlist:  Repeat the playlist once it has been finished (only once)...", "Playback", "PlaylistRepeatOnce", "0"},
    {"Playlist:  Stop the player once the end of the playlist has been reached...", "Playback", "PlaylistStopAfterEnding", "1"},
    {"Playlist:  Pick a random playlist once the current has been finished...", "Playback", "PlaylistPickRandomAfterEnding", "0"},
    {"Playlist:  Switch to the next playlist once the current playlist has been finsihed...", "Playback", "PlaylistSwitchToNext", "0"},
};
constexpr OptionSetting kTime[] = {
    {"For the current song playing, show the time elasped on the Status bar...", "Settings", "ShowTimeElapsed", "1"},
    {"For the current song playing, show the time remaining on the Status Bar", "Settings", "ShowTimeRemaining", "0"},
};
constexpr OptionSetting kSortBy[] = {
    {"Sort the playlist by:  Artist...", "ListSorting", "SortByArtist", "0"},
    {"Sort the playlist by:  Title...", "ListSorting", "SortByTitle", "0"},
    {"Sort the playlist by:  Year...", "ListSorting", "SortByYear", "0"},
    {"Sort the playlist by:  Length...", "ListSorting", "SortByLength", "0"},
    {"Sort the playlist by:  Filename...", "ListSorting", "SortByFilename", "1"},
};
constexpr OptionSetting kSortIn[] = {
    {"Sort the playlist in:  Ascending Order...", "ListSorting", "SortViaAscendingOrder", "0"},
    {"Sort the playlist in:  Descending Order...", "ListSorting", "SortViaDescendingOrder", "0"},
    {"Sort the playlist in:  Don't Sort The Playlist...", "ListSorting", "DoNotSortTheList", "1"},
};

constexpr std::array<NumberSetting, NumberBoxCount> kNumbers{{
    {"RewindForwardRate", "5", 5, 50, "The skip rate that you have specified for playing songs is invalid.",
     "Please change your skip rate before continuing."},
    {"IntroductionRate", "30", 10, 60,
     "The introduction setting that you have specified for each song as its played is invalid.",
     "Please change your introduction setting before continuing."},
    {"NumberofRecentPlaylists", "30", 10, 60, "The maximum number of recent playlists you have entered is invalid.",
     "Please change your setting before continuing."},
    {"NumberofRecentMediaFiles", "30", 10, 60, "The maximum number of recent files you have entered is invalid.",
     "Please change your setting before continuing."},
}};

constexpr std::array<ColourSetting, ColourCount> kColours{{
    {"BackgroundColour", 0x80000005u},
    {"FontColour", 0x80000008u},
    {"PlayingFontColour", 0xC0u},
    {"PlayNextFontColour", 0xC00000u},
}};

constexpr const char* kFileTypes[] = {"MP3", "MP2", "MP1", "MID", "RMI",  "MIDI", "WAV", "SND", "AU",  "AIF",
                                      "AIFC", "AIFF", "WMA", "AVI", "WMV", "MPEG", "MPE", "MPG", "M1V", "MPA"};
constexpr int kFileTypesOnByDefault = 3;

constexpr const char* kHotkeyLabels[] = {"Play/Pause", "Stop", "Next", "Previous", "Mute", "Volume Up", "Volume Down"};
static_assert(std::size(kHotkeyLabels) == GlobalKey_ActionCount);

} // namespace

std::span<const CheckSetting> checkSettings() { return kChecks; }

std::span<const OptionSetting> options(OptionGroup group)
{
    switch (group) {
    case OptionGroup::Playback: return kPlayback;
    case OptionGroup::Direction: return kDirection;
    case OptionGroup::Playlist: return kPlaylist;
    case OptionGroup::Time: return kTime;
    case OptionGroup::SortBy: return kSortBy;
    case OptionGroup::SortIn: return kSortIn;
    }
    return {};
}

const NumberSetting& number(NumberBox box) { return kNumbers[size_t(box)]; }

QString rangeMessage(NumberBox box)
{
    const NumberSetting& n = number(box);
    const QString crlf = QStringLiteral("\r\n");
    return QString::fromLatin1(n.firstLine) + crlf + crlf + QStringLiteral("Maximum:  ") + QString::number(n.maximum) + crlf
        + QStringLiteral("Minimum:  ") + QString::number(n.minimum) + crlf + crlf + QString::fromLatin1(n.lastLine) + crlf;
}

const ColourSetting& colour(PlaylistColour which) { return kColours[size_t(which)]; }

QString colourText(quint32 colour) { return QString::number(qint32(colour)); }

quint32 readColour(PlaylistColour which)
{
    const ColourSetting& c = colour(which);
    const QString text = settings_ReadValue(QStringLiteral("Appearance"), QString::fromLatin1(c.key), colourText(c.def));
    bool ok = false;
    const double v = vb::ToDouble(text, &ok);
    // Signed decimal, or hexadecimal as written by hand ("&H80000005").
    if (!ok || v != std::floor(v) || v < -2147483648.0 || v > 4294967295.0) return c.def;
    return quint32(qint64(v));
}

QStringList fileTypes()
{
    QStringList out;
    for (const char* t : kFileTypes) out << QString::fromLatin1(t);
    return out;
}

QString fileTypeDefault(int position) { return position < kFileTypesOnByDefault ? QStringLiteral("1") : QStringLiteral("0"); }

bool fileTypeMarked(int position)
{
    if (position < 0 || position >= int(std::size(kFileTypes))) return false;
    return switchValue(QStringLiteral("FileTypes"), QString::fromLatin1(kFileTypes[position]), fileTypeDefault(position));
}

QStringList hotkeyLabels()
{
    QStringList out;
    for (const char* l : kHotkeyLabels) out << QString::fromLatin1(l);
    return out;
}

QStringList hotkeyResetLabels()
{
    QStringList out = hotkeyLabels();
    out[0] = QStringLiteral("Play");
    return out;
}

bool switchValue(const QString& section, const QString& key, const QString& def)
{
    bool ok = false;
    const double v = vb::ToDouble(settings_ReadValue(section, key, def), &ok);
    if (ok && (v == 0 || v == 1)) return v == 1;
    return def == QLatin1String("1");
}

bool readSwitch(const char* section, const char* key, const char* def)
{
    return switchValue(QString::fromLatin1(section), QString::fromLatin1(key), QString::fromLatin1(def));
}

} // namespace prefkeys
