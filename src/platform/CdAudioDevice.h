#pragma once
// The command-string CD audio device: takes the command strings of the "cdaudio" device
// type for the one alias "cdr" ("open D:\ Type cdaudio alias cdr wait shareable",
// "set cdr time format tmsf wait", "status cdr position", "seek cdr to 03:02:05:00",
// "play cdr", "stop cdr wait", "set cdr door open" ...), returns 0 or an error code, and
// answers queries in their reply forms ("true", "12", "03:02:05:00", "45:12:30", "playing"),
// as text ended by a NUL in the caller's buffer. Any other string fails.
//
// Playing is digital: the output reads the disc's audio sectors off the UI thread and
// plays them through the sound output. The position answered is what has been heard. The
// disc's tracks here are its audio tracks, numbered from 1; a disc without any is no disc.
#include "platform/CdDrives.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace cd {

// The codes of failures (0 is success).
enum CdError : int {
    NoError = 0,
    UnrecognizedCommand = 261,   // not a command of this device, or a word it does not take
    HardwareError = 262,         // the drive or the sound output refused
    InvalidDevice = 263,         // no such drive, or the alias is not open
    DeviceNotReady = 276,        // no disc, or the door is open
    OutOfRange = 282,            // a track or a time beyond the disc
    ParameterOverflow = 268,     // the reply does not fit the caller's buffer
    DuplicateAlias = 289,        // "cdr" is open already
    BadTimeFormat = 293,         // a time format this device does not keep
};

class CdAudioDevice {
public:
    CdAudioDevice(std::shared_ptr<Drives> drives, std::unique_ptr<AudioOutput> output);
    ~CdAudioDevice();

    // Runs one command string; the reply (when the command has one) is written to `reply`
    // with a NUL after it, leaving the rest of the buffer as it was.
    int send(const QString& command, char* reply, int replyLength);

    Drives& drives() { return *m_drives; }

private:
    enum class Mode { Stopped, Playing };
    int run(const QStringList& words, QString* reply);
    int open(const QStringList& words);
    int status(const QStringList& words, QString* reply);
    int seek(const QString& target);
    int play();
    void stopPlaying();
    // Brings the state up to date with the drive and the output; false without a playable disc
    // (none, or one without audio tracks).
    bool refresh();
    // The drive's status, asked of the drive once per pass of the event loop: a status timer's
    // tick asks a dozen questions at once, and a drive may be slow to answer.
    DriveStatus driveStatus();
    void forgetDriveStatus() { m_statusKnown = false; }
    int positionNow();
    QString timeText(int sectors) const;   // mm:ss:ff

    std::shared_ptr<Drives> m_drives;
    std::unique_ptr<AudioOutput> m_output;
    bool m_open = false;
    int m_drive = -1;
    bool m_tmsf = false;
    std::optional<Toc> m_toc;   // the disc's audio tracks
    bool m_statusKnown = false;
    DriveStatus m_status = DriveStatus::NotReady;
    QObject m_passes;           // the status is forgotten when control returns to the event loop
    int m_position = 0;      // sector, while not playing
    int m_playFrom = 0;      // sector where the sound started
    Mode m_mode = Mode::Stopped;
};

} // namespace cd

namespace cdaudio {

// The device all routines of modCDAudio talk to. The first use makes the default one:
// the drives VELTRA_CD_SIMULATE describes when it is set, else the machine's own drives,
// played through the sound output.
cd::CdAudioDevice& device();
// Replaces the device (tests); the old one stops playing first.
void install(std::shared_ptr<cd::Drives> drives, std::unique_ptr<cd::AudioOutput> output);
// Back to the default device on next use.
void reset();

// The command-string entry: the same as device().send.
int sendString(const QString& command, char* reply, int replyLength);

} // namespace cdaudio
