#include "platform/modCDAudio.h"

#include "common/modVB.h"
#include "platform/CdAudioDevice.h"

#include <array>

bool CDDeviceOpen = false;

namespace {
constexpr int ReplyLength = 30;
using Reply = std::array<char, ReplyLength>;

// The reply to the current-track question, kept between calls and not cleared first.
Reply currentTrackReply{};

int send(const QString& command, Reply* reply = nullptr)
{
    return cdaudio::sendString(command, reply ? reply->data() : nullptr, reply ? ReplyLength : 0);
}

// The text before the first NUL.
QString textOf(const Reply& reply) { return QString::fromLatin1(reply.data(), qsizetype(qstrnlen(reply.data(), ReplyLength))); }

// A query into a fresh, zero-filled buffer.
QString query(const QString& command)
{
    Reply reply{};
    send(command, &reply);
    return textOf(reply);
}

// Characters start .. start + length - 1 (counted from 1) as a number; none gives 0.
int numberAt(const QString& text, int start, int length) { return int(vb::Val(text.mid(start - 1, length))); }
} // namespace

bool cdaudio_Close()
{
    CDDeviceOpen = false;
    return send(QStringLiteral("close cdr")) == 0;
}

bool cdaudio_Open(QString& drive)
{
    cdaudio_Close();
    drive = drive.left(1) + QStringLiteral(":\\");
    Reply reply{};
    CDDeviceOpen = send(QStringLiteral("open ") + drive + QStringLiteral(" Type cdaudio alias cdr wait shareable"), &reply) == 0;
    send(QStringLiteral("set cdr time format tmsf wait"));
    return CDDeviceOpen;
}

bool cdaudio_IsMediaPresent()
{
    if (!CDDeviceOpen) return false;
    // Anything but "true" (an empty reply from a drive that went away) is no disc.
    return query(QStringLiteral("status cdr media present")) == QLatin1String("true");
}

bool cdaudio_Eject()
{
    if (!CDDeviceOpen) return false;
    send(QStringLiteral("set cdr door open"));
    return true;
}

int cdaudio_GetTrackCount()
{
    if (!cdaudio_IsMediaPresent()) return 0;
    return numberAt(query(QStringLiteral("status cdr number of tracks wait")), 1, 2);
}

QString cdaudio_GetCurrentTrack()
{
    if (!cdaudio_IsMediaPresent()) return QString();
    send(QStringLiteral("status cdr position"), &currentTrackReply);
    return QString::number(numberAt(textOf(currentTrackReply), 1, 2));
}

QString cdaudio_GetTotalLength()
{
    if (!CDDeviceOpen || !cdaudio_IsMediaPresent()) return QStringLiteral("None");
    return query(QStringLiteral("status cdr length wait")).left(5);
}

QString cdaudio_GetMode()
{
    if (!CDDeviceOpen) return QString();
    return query(QStringLiteral("status cdr mode"));
}

bool cdaudio_SeekTrack(int track)
{
    const int count = cdaudio_GetTrackCount();
    if (track < 1 || track > count) return false;
    return send(QStringLiteral("seek cdr to ") + QString::number(track)) == 0;
}

int cdaudio_GetTrackLength(int track)
{
    if (!CDDeviceOpen || cdaudio_GetTrackCount() < 1) return 0;
    const QString length = query(QStringLiteral("status cdr length track ") + QString::number(track)).left(5);
    return numberAt(length, 1, 2) * 60 + numberAt(length, 4, 2);
}

bool cdaudio_SeekPosition(const QString& position)
{
    if (position.size() != 11) return false;
    if (cdaudio_IsPlaying()) return false;
    return send(QStringLiteral("seek cdr to ") + position) == 0;
}

int cdaudio_GetPosition()
{
    if (!CDDeviceOpen || !cdaudio_IsMediaPresent()) return 0;
    const QString position = query(QStringLiteral("status cdr position"));
    return numberAt(position, 4, 2) * 60 + numberAt(position, 7, 2);
}

bool cdaudio_Play() { return send(QStringLiteral("play cdr")) == 0; }

bool cdaudio_Stop() { return send(QStringLiteral("stop cdr wait")) == 0; }

// The same command as Stop: the drive keeps its place, and Play goes on from there.
bool cdaudio_Pause() { return send(QStringLiteral("stop cdr wait")) == 0; }

bool cdaudio_IsPlaying()
{
    if (!CDDeviceOpen) return false;
    return cdaudio_GetMode().contains(QLatin1String("playing"));
}
