#pragma once
// Every form of the program, each once. forms() loads no other (a form added later joins this
// list, or the program does not build), and the tests that go through every window of the
// program take them from here.
#include <array>
#include <string_view>
#include <type_traits>

#define VELTRA_FORMS(X)                                                                                            \
    X(FrmMain) X(FrmMenus) X(FrmExit) X(FrmMessage) X(FrmPlaying) X(FrmVideo) X(FrmLyrics) X(FrmMini)             \
    X(FrmConsole) X(FrmTracking) X(FrmAdjustVolumes) X(FrmVolume) X(FrmAbout) X(FrmCheckForUpdates)                \
    X(FrmPreferences) X(FrmOptions) X(FrmCustomise) X(FrmMediaLibrary) X(FrmCDPlayer) X(FrmEditMoods) X(FrmAddMood) \
    X(FrmEditTag) X(FrmEditEntry) X(FrmRename) X(FrmMassTagEditor) X(FrmMassRenamer) X(FrmMoveToFolder)            \
    X(FrmJump) X(FrmJumpToTime) X(FrmJumpToNumber) X(FrmQueue) X(FrmGeneratePlaylist) X(FrmRandomSongsPlaylist)    \
    X(FrmManagePlaylists) X(FrmRenamePlaylist) X(FrmEditBookmarks) X(FrmAddLocation)

#define VELTRA_FORM_DECLARATION(F) class F;
VELTRA_FORMS(VELTRA_FORM_DECLARATION)
#undef VELTRA_FORM_DECLARATION

namespace formlist {

template <class... F>
struct Types {};
#define VELTRA_FORM_TYPE(F) F,
using All = Types<VELTRA_FORMS(VELTRA_FORM_TYPE) void>;
#undef VELTRA_FORM_TYPE

template <class T, class List>
struct Has;
template <class T, class... F>
struct Has<T, Types<F...>> : std::bool_constant<(std::is_same_v<T, F> || ...)> {};
template <class F>
inline constexpr bool listed = Has<F, All>::value;

#define VELTRA_FORM_NAME(F) std::string_view(#F),
inline constexpr std::array names{VELTRA_FORMS(VELTRA_FORM_NAME)};
#undef VELTRA_FORM_NAME

} // namespace formlist
