#include "platform/CdAudioDevice.h"

#include "platform/GstCdAudioOutput.h"
#include "platform/LibcdioDrives.h"
#include "platform/SimulatedCdDrives.h"

#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace cd {

namespace {
constexpr int SectorsPerMinute = 60 * SectorsPerSecond;
constexpr int MsfOffset = 2 * SectorsPerSecond;   // absolute times count the lead-in's two seconds

bool is(const QString& word, const char* keyword) { return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0; }

bool wordsAre(const QStringList& words, int from, std::initializer_list<const char*> keywords)
{
    if (words.size() - from != qsizetype(keywords.size())) return false;
    int i = from;
    for (const char* k : keywords)
        if (!is(words[i++], k)) return false;
    return true;
}

// A whole number made only of digits (no sign, no blanks); -1 otherwise.
int digits(const QString& text)
{
    if (text.isEmpty() || text.size() > 6) return -1;
    for (QChar c : text)
        if (!c.isDigit()) return -1;
    return text.toInt();
}
} // namespace

CdAudioDevice::CdAudioDevice(std::shared_ptr<Drives> drives, std::unique_ptr<AudioOutput> output)
    : m_drives(std::move(drives)), m_output(std::move(output))
{
}

CdAudioDevice::~CdAudioDevice() { stopPlaying(); }

int CdAudioDevice::send(const QString& command, char* reply, int replyLength)
{
    m_drives->commandReceived(command);
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = command.split(blanks, Qt::SkipEmptyParts);
    QString answer;
    const int result = run(words, &answer);
    if (result != NoError || answer.isNull() || !reply) return result;
    const QByteArray bytes = answer.toLatin1();
    if (bytes.size() + 1 > replyLength) return ParameterOverflow;
    std::memcpy(reply, bytes.constData(), size_t(bytes.size()));
    reply[bytes.size()] = '\0';
    return NoError;
}

int CdAudioDevice::run(const QStringList& allWords, QString* reply)
{
    if (allWords.size() < 2) return UnrecognizedCommand;
    const QString verb = allWords[0];
    if (is(verb, "open")) return open(allWords);
    if (!is(allWords[1], "cdr")) return InvalidDevice;

    QStringList words = allWords;
    bool wait = false;
    if (words.size() > 2 && is(words.last(), "wait")) {
        wait = true;
        words.removeLast();
    }
    if (!m_open) {
        const bool known = is(verb, "close") || is(verb, "set") || is(verb, "status") || is(verb, "seek") || is(verb, "play")
                           || is(verb, "stop");
        return known ? InvalidDevice : UnrecognizedCommand;
    }

    if (is(verb, "close") && words.size() == 2) {
        stopPlaying();
        forgetDriveStatus();
        m_open = false;
        m_toc.reset();
        m_drive = -1;
        return NoError;
    }
    if (is(verb, "set")) {
        if (wordsAre(words, 2, {"time", "format", "tmsf"})) m_tmsf = true;
        else if (wordsAre(words, 2, {"time", "format", "msf"})) m_tmsf = false;
        else if (words.size() == 5 && wordsAre(words.mid(0, 4), 2, {"time", "format"})) return BadTimeFormat;
        else if (wordsAre(words, 2, {"door", "open"})) {
            stopPlaying();
            m_toc.reset();
            forgetDriveStatus();
            return m_drives->openDoor(m_drive) ? NoError : HardwareError;
        } else return UnrecognizedCommand;
        return NoError;
    }
    if (is(verb, "status")) return status(words, reply);
    if (is(verb, "seek") && words.size() == 4 && is(words[2], "to")) return seek(words[3]);
    // Playing blocks nobody: "play cdr wait" would hold the window until the disc ends.
    if (is(verb, "play") && words.size() == 2 && !wait) return play();
    if (is(verb, "stop") && words.size() == 2) {
        refresh();
        stopPlaying();
        return NoError;
    }
    return UnrecognizedCommand;
}

int CdAudioDevice::open(const QStringList& words)
{
    // open <drive> Type cdaudio alias cdr [wait] [shareable], the flags in any order.
    if (words.size() < 2) return UnrecognizedCommand;
    bool typed = false, aliased = false;
    for (int i = 2; i < words.size(); ++i) {
        if (is(words[i], "type") && i + 1 < words.size() && is(words[i + 1], "cdaudio")) {
            typed = true;
            ++i;
        } else if (is(words[i], "alias") && i + 1 < words.size() && is(words[i + 1], "cdr")) {
            aliased = true;
            ++i;
        } else if (!is(words[i], "wait") && !is(words[i], "shareable")) {
            return UnrecognizedCommand;
        }
    }
    if (!typed || !aliased) return UnrecognizedCommand;
    if (m_open) return DuplicateAlias;

    static const QRegularExpression driveText(QStringLiteral("^([A-Za-z]):\\\\?$"));
    const QRegularExpressionMatch m = driveText.match(words[1]);
    if (!m.hasMatch()) return InvalidDevice;
    const int drive = m.captured(1).toUpper().at(0).unicode() - u'A';
    m_drives->rescan();
    if (drive >= m_drives->count() || !m_drives->readable(drive)) return InvalidDevice;

    m_open = true;
    m_drive = drive;
    m_tmsf = false;
    m_toc.reset();
    forgetDriveStatus();
    m_position = 0;
    m_mode = Mode::Stopped;
    return NoError;
}

bool CdAudioDevice::refresh()
{
    if (!m_open) return false;
    if (m_mode == Mode::Playing && m_output->finished()) {
        // Played to the end of the disc (or the output gave up): stopped where the sound ended.
        m_position = positionNow();
        m_output->stop();
        m_mode = Mode::Stopped;
    }
    if (driveStatus() != DriveStatus::DiscReady) {
        stopPlaying();
        m_toc.reset();
        m_position = 0;
        return false;
    }
    if (!m_toc) {
        // Only audio tracks are played: a data-only disc (or a DVD) is no audio disc.
        Toc toc;
        if (!m_drives->readToc(m_drive, &toc)) return false;
        toc = toc.audioOnly();
        if (toc.tracks.isEmpty()) return false;
        m_toc = toc;
        m_position = toc.firstSector();
    }
    return true;
}

DriveStatus CdAudioDevice::driveStatus()
{
    if (!m_statusKnown) {
        m_status = m_drives->status(m_drive);
        m_statusKnown = true;
        QTimer::singleShot(0, &m_passes, [this] { forgetDriveStatus(); });
    }
    return m_status;
}

int CdAudioDevice::positionNow()
{
    if (m_mode != Mode::Playing) return m_position;
    const qint64 heard = m_playFrom + m_output->heardSectors();
    return int(std::min<qint64>(heard, m_toc ? m_toc->leadOut() : heard));
}

void CdAudioDevice::stopPlaying()
{
    if (m_mode != Mode::Playing) return;
    m_position = positionNow();
    m_output->stop();
    m_mode = Mode::Stopped;
}

QString CdAudioDevice::timeText(int sectors) const
{
    return QString::asprintf("%02d:%02d:%02d", sectors / SectorsPerMinute, (sectors / SectorsPerSecond) % 60,
                             sectors % SectorsPerSecond);
}

int CdAudioDevice::status(const QStringList& words, QString* reply)
{
    if (wordsAre(words, 2, {"media", "present"})) {
        *reply = refresh() ? QStringLiteral("true") : QStringLiteral("false");
        return NoError;
    }
    if (wordsAre(words, 2, {"mode"})) {
        const bool ready = refresh();
        const DriveStatus drive = driveStatus();
        if (drive == DriveStatus::DoorOpen) *reply = QStringLiteral("open");
        else if (!ready) *reply = QStringLiteral("not ready");
        else *reply = m_mode == Mode::Playing ? QStringLiteral("playing") : QStringLiteral("stopped");
        return NoError;
    }
    const bool known = wordsAre(words, 2, {"number", "of", "tracks"}) || wordsAre(words, 2, {"position"})
                       || wordsAre(words, 2, {"length"}) || (words.size() == 5 && is(words[2], "length") && is(words[3], "track"));
    if (!known) return UnrecognizedCommand;
    if (!refresh()) return DeviceNotReady;
    const Toc& toc = *m_toc;

    if (wordsAre(words, 2, {"number", "of", "tracks"})) {
        *reply = QString::number(toc.tracks.size());
    } else if (wordsAre(words, 2, {"position"})) {
        const int at = positionNow();
        if (m_tmsf) {
            const int track = toc.trackAt(at);
            *reply = QString::asprintf("%02d:", track) + timeText(at - toc.tracks[track - 1].start);
        } else {
            *reply = timeText(at + MsfOffset);
        }
    } else if (wordsAre(words, 2, {"length"})) {
        *reply = timeText(toc.leadOut() - toc.firstSector());
    } else {
        const int track = digits(words[4]);
        if (track < 1 || track > toc.tracks.size()) return OutOfRange;
        *reply = timeText(toc.tracks[track - 1].length);
    }
    return NoError;
}

int CdAudioDevice::seek(const QString& target)
{
    if (!refresh()) return DeviceNotReady;
    const Toc& toc = *m_toc;
    const QStringList fields = target.split(u':');
    QList<int> numbers;
    for (const QString& f : fields) {
        const int n = digits(f);
        if (n < 0) return OutOfRange;
        numbers.append(n);
    }
    int sector = 0;
    if (m_tmsf) {
        // t, t:m, t:m:s or t:m:s:f; a bare track number is that track's start.
        if (numbers.size() > 4) return OutOfRange;
        while (numbers.size() < 4) numbers.append(0);
        const int track = numbers[0];
        if (track < 1 || track > toc.tracks.size() || numbers[2] > 59 || numbers[3] >= SectorsPerSecond) return OutOfRange;
        sector = toc.tracks[track - 1].start + numbers[1] * SectorsPerMinute + numbers[2] * SectorsPerSecond + numbers[3];
    } else {
        if (numbers.size() > 3) return OutOfRange;
        while (numbers.size() < 3) numbers.append(0);
        if (numbers[1] > 59 || numbers[2] >= SectorsPerSecond) return OutOfRange;
        sector = numbers[0] * SectorsPerMinute + numbers[1] * SectorsPerSecond + numbers[2] - MsfOffset;
    }
    if (sector < toc.firstSector() || sector > toc.leadOut()) return OutOfRange;
    stopPlaying();
    m_position = sector;
    return NoError;
}

int CdAudioDevice::play()
{
    if (!refresh()) return DeviceNotReady;
    if (m_mode == Mode::Playing) return NoError;   // already going on from here
    const Toc& toc = *m_toc;
    if (m_position >= toc.leadOut()) return NoError;   // nothing left to play: stays stopped
    PlayRequest request;
    request.reader = m_drives->readerFactory(m_drive);
    request.first = m_position;
    request.end = toc.leadOut();
    // A data track between two audio tracks is passed over in silence.
    for (qsizetype i = 1; i < toc.tracks.size(); ++i) {
        const int gap = toc.tracks[i - 1].start + toc.tracks[i - 1].length;
        if (toc.tracks[i].start > gap) request.silent.append(Track{gap, toc.tracks[i].start - gap, false});
    }
    if (!m_output->start(request)) return HardwareError;
    m_playFrom = m_position;
    m_mode = Mode::Playing;
    return NoError;
}

} // namespace cd

namespace cdaudio {

namespace {
std::unique_ptr<cd::CdAudioDevice>& slot()
{
    static std::unique_ptr<cd::CdAudioDevice> device;
    return device;
}

std::unique_ptr<cd::CdAudioDevice> makeDefault()
{
    std::shared_ptr<cd::Drives> drives;
    const QString description = qEnvironmentVariable("VELTRA_CD_SIMULATE").trimmed();
    if (!description.isEmpty()) {
        QString why;
        drives = cd::SimulatedCdDrives::fromDescription(description, &why);
        if (!drives) qWarning("VELTRA_CD_SIMULATE is not used: %s", qPrintable(why));
    }
    if (!drives) drives = cd::systemDrives();
    std::unique_ptr<cd::AudioOutput> output;
    if (cd::GstCdAudioOutput::isAvailable()) output = std::make_unique<cd::GstCdAudioOutput>();
    else output = std::make_unique<cd::ClockedCdOutput>(&cd::steadyMilliseconds);
    return std::make_unique<cd::CdAudioDevice>(std::move(drives), std::move(output));
}
} // namespace

cd::CdAudioDevice& device()
{
    if (!slot()) slot() = makeDefault();
    return *slot();
}

void install(std::shared_ptr<cd::Drives> drives, std::unique_ptr<cd::AudioOutput> output)
{
    slot().reset();
    slot() = std::make_unique<cd::CdAudioDevice>(std::move(drives), std::move(output));
}

void reset() { slot().reset(); }

int sendString(const QString& command, char* reply, int replyLength) { return device().send(command, reply, replyLength); }

} // namespace cdaudio
