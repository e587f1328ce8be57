#pragma once
// The rules of what plays next, without a window: the playback, play-direction and
// end-of-list modes, the next-track decision over the playlist's rows, the same-value
// searches, the steps of Next and Previous, and the random history. It answers; the main
// window carries the answer out (it owns the player, the playlist box and the play rule).
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ListViewModel;

namespace veltra {

// None: no item of the group ticked, as before start-up has read the settings.
enum class PlayingMode {
    None,
    ShuffleByArtist,
    ShuffleByAlbum,
    ShuffleByYear,
    Introduction,
    Repeat,
    RepeatOnce,
    StopAfterEnding,
    PickRandomSongs,
    GoThroughPlaylistNormally,
};
enum class PlayDirection { None, Forward, Backward };
enum class EndOfListMode { None, Repeat, RepeatOnce, StopAfterEnding, PickRandomAfterEnding, SwitchToNext };

// The settings key of a mode (section Playback), which is also its menu item's name without
// "mnu"; empty for None. A key of no mode gives None.
QString playingModeKey(PlayingMode mode);
PlayingMode playingModeOfKey(const QString& key);
QString endOfListModeKey(EndOfListMode mode);
EndOfListMode endOfListModeOfKey(const QString& key);
// Every key of the group, in menu order.
QStringList playingModeKeys();
QStringList endOfListModeKeys();
// Only the normal and introduction modes leave the direction to the user.
bool directionSelectable(PlayingMode mode);

// The jumps of the Jump menu over a list of `count` rows. jumpRow: `step` rows on from
// `current` (back when negative), allowed only with more than |step| rows on that side of it,
// so a forward jump never lands on the last row; 0 when not allowed. middleRow: half the rows,
// a half going to the even neighbour; the only row of a one-row list; 0 for none.
int jumpRow(int current, int count, int step);
int middleRow(int count);

struct PlaybackModes {
    PlayingMode playing = PlayingMode::None;
    PlayDirection direction = PlayDirection::None;
    bool directionSelectable = true;   // the user may change the direction (normal and introduction modes)
    EndOfListMode endOfList = EndOfListMode::None;
    bool operator==(const PlaybackModes&) const = default;
};

// Where the playlist stands: the current row (1-based; 0 for none). When the current row has
// left the list (a "Remove" row, or rows removed by hand), `gone` is set and `row` is the row
// before its place (0 when it was the first).
struct PlayPosition {
    int row = 0;
    bool gone = false;
};

// The playlist box: entry 0 is the no-playlist entry, the others name playlists.
struct PlaylistChoice {
    int current = 0;
    QStringList entries;
};

// The files played in random order, for Next and Previous to walk: entry 0 is always empty,
// the names are at 1..count in the order played; cursor is the place reached.
struct RandomPlayHistory {
    QStringList names{QString()};
    int count = 0;
    int cursor = 0;

    // A name already held (equal as text) changes nothing, the cursor included.
    void add(const QString& file);
    void reset();
};

// What to do when a song ends.
struct NextStep {
    enum class Kind {
        Nothing,
        PlayMarked,       // `row`, marked Play Next: played whatever the play rule says
        PlayRow,          // `row`, found by a same-value search: started by the play rule
        Replay,           // `row`, the current one, again (Repeat)
        StepForward,      // as the Next command
        StepBackward,     // as the Previous command, stepping back from `row`
        PickRandom,       // as the Random command
        Stop,             // player_Stop: a same-value search found nothing further down
        StopAndUnload,
        StartOver,        // the first row in the play direction, by the play rule
        NextPlaylist,     // open box entry `playlist` (it may be the current one), select its first row, play rule
        RandomPlaylist,   // open box entry `playlist`, then start over in it
    };
    Kind kind = Kind::Nothing;
    int row = 0;
    int playlist = 0;
    // The mode to select once the step is carried out (the "once" modes fall back).
    std::optional<PlayingMode> thenPlaying;
    std::optional<EndOfListMode> thenEndOfList;
    // Shuffle by album: the album of the current row and of the last row compared with it.
    std::optional<QString> album;
    std::optional<QString> lastAlbumCompared;
};

// What playing the selected row comes to once the rows' statuses are applied: "Skip" rows
// are passed over, a "Skip Once" row once, and a row whose file is missing gives way to the
// next row whose file exists.
struct RowToStart {
    enum class Kind {
        Play,       // start `row`
        HandOff,    // the last row was passed over: the next-track decision goes on from `row`
        Nothing,    // Skip rows to the end of the list: nothing plays, `row` (the last) stays selected
        NoFiles,    // no file exists from `row` to the end
    };
    Kind kind = Kind::Play;
    int row = 0;
    QList<int> passedOnce;   // the "Skip Once" rows passed over, which become "Play"
};

class PlaybackSequence : public QObject {
    Q_OBJECT
public:
    // The album of a file, read from its tag ("" when it has none).
    using AlbumReader = std::function<QString(const QString& file)>;
    // Whether a file exists (files_FileExists unless set).
    using FileCheck = std::function<bool(const QString& file)>;

    explicit PlaybackSequence(const ListViewModel* rows = nullptr, QObject* parent = nullptr);
    // The playlist's rows, which the rules read and never change.
    void setRows(const ListViewModel* rows) { m_rows = rows; }

    // ---- modes -------------------------------------------------------------------------
    const PlaybackModes& modes() const { return m_modes; }
    void setModes(const PlaybackModes& modes);
    void setPlayingMode(PlayingMode mode, bool directionSelectable);
    void setDirection(PlayDirection direction);
    void setEndOfListMode(EndOfListMode mode);

    // ---- the next-track decision -----------------------------------------------------------
    void setAlbumReader(AlbumReader reader) { m_album = std::move(reader); }
    // `playNextRow`: the row marked Play Next, below 1 for none.
    NextStep next(PlayPosition at, int playNextRow, const PlaylistChoice& box) const;

    // ---- rows ----------------------------------------------------------------------------
    void setFileCheck(FileCheck check) { m_fileExists = std::move(check); }
    // The first row from `row` down whose file exists; 0 for none.
    int firstRowWithFile(int row) const;
    // The statuses applied from `row` on, in one pass however long a run of passed rows is.
    RowToStart rowToStart(int row) const;
    // The row a list starts from in the play direction: 1 going forward, else the last.
    int startRow() const;
    // Next: the row after `row`, round from the last to the first.
    int nextRow(int row) const;
    // Previous: the nearest "Play" row before `row`, round from the first row to the last,
    // one lap at most; 0 when there is none (or nothing to step back from).
    int previousPlayRow(int row) const;
    // The first row of `file` (paths name one file only when equal as texts); 0 for none.
    int rowOfFile(const QString& file) const;

    // ---- hand-offs ---------------------------------------------------------------------------
    // A last row passed over hands the choice on to the next-track decision, which may open
    // other playlists. The hand-offs go on until one comes back to a playlist (`playlist`:
    // its entry in the playlist box) already handed on from with no song started since:
    // beginHandOff is then false, and playing stops rather than going round for ever.
    bool beginHandOff(int playlist);
    void endHandOff(int playlist);
    void songStarted()
    {
        m_handedOn.clear();
        m_gapKey.reset();
    }

    // ---- the current row ---------------------------------------------------------------------
    // The current row left the list; `rowBefore` (0 at the top) now stands for it.
    void currentRowGone(int rowBefore);
    // The place of current row `row`: gone while `row` still stands for a row that left.
    PlayPosition position(int row) const;

    // ---- random history --------------------------------------------------------------------
    RandomPlayHistory& history() { return m_history; }
    const RandomPlayHistory& history() const { return m_history; }
    // In the pick-random-songs mode Next (+1) and Previous (-1) walk the history: the cursor
    // moves one step and the name there is given; none when the mode is another or the
    // history has no entry in that direction.
    std::optional<QString> stepHistory(int step);

signals:
    void modesChanged();

private:
    int sameValueRow(int from, int column, NextStep& step) const;

    const ListViewModel& rows() const { return *m_rows; }

    const ListViewModel* m_rows;
    PlaybackModes m_modes;
    RandomPlayHistory m_history;
    AlbumReader m_album;
    FileCheck m_fileExists;
    QList<int> m_handedOn;   // playlists handed on from since a song last started
    std::optional<quint64> m_gapKey;   // the row before the current row's place, by its key (0: none)
};

} // namespace veltra
