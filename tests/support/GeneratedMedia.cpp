#include "support/GeneratedMedia.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace testmedia {

namespace {

bool run(const QString& program, const QStringList& args, QString* why)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        *why = program + QStringLiteral(" did not start");
        return false;
    }
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(2000);
        *why = program + QStringLiteral(" did not finish");
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *why = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* why)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        *why = QStringLiteral("cannot write ") + path;
        return false;
    }
    return true;
}

QString secondsText(double seconds) { return QString::number(seconds, 'f', 3); }

// Bits written most significant first, as MPEG audio frames are laid out.
class BitWriter {
public:
    explicit BitWriter(int bytes) : m_bytes(bytes, '\0') {}
    void put(unsigned value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if ((value >> i) & 1u) m_bytes[m_bit / 8] = char(uchar(m_bytes[m_bit / 8]) | (0x80u >> (m_bit % 8)));
            ++m_bit;
        }
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    int m_bit = 0;
};

void appendBigEndian32(QByteArray& out, quint32 v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void appendLittleEndian32(QByteArray& out, quint32 v)
{
    out.append(char(v)).append(char(v >> 8)).append(char(v >> 16)).append(char(v >> 24));
}

void appendVariableLength(QByteArray& out, quint32 v)
{
    QByteArray bytes(1, char(v & 0x7F));
    while (v >>= 7) bytes.prepend(char((v & 0x7F) | 0x80));
    out.append(bytes);
}

} // namespace

QString toolFor(const QString& extension)
{
    static const QStringList soxTypes = {QStringLiteral("wav"), QStringLiteral("au"), QStringLiteral("snd"),
                                         QStringLiteral("aif"), QStringLiteral("aiff"), QStringLiteral("aifc")};
    if (soxTypes.contains(extension)) return QStringLiteral("sox");
    if (extension == QLatin1String("mp3")) return QStringLiteral("lame");
    static const QStringList handMade = {QStringLiteral("mid"), QStringLiteral("midi"), QStringLiteral("rmi"),
                                         QStringLiteral("mp1")};
    if (handMade.contains(extension)) return QString();
    return QStringLiteral("ffmpeg");
}

bool toolPresent(const QString& tool)
{
    if (tool.isEmpty()) return true;
    if (QStandardPaths::findExecutable(tool).isEmpty()) return false;
    // MP3 files are made by lame from a sox tone.
    if (tool == QLatin1String("lame")) return !QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty();
    return true;
}

bool isVideo(const QString& extension)
{
    static const QStringList video = {QStringLiteral("avi"), QStringLiteral("wmv"), QStringLiteral("mpeg"),
                                      QStringLiteral("mpe"), QStringLiteral("mpg"), QStringLiteral("m1v")};
    return video.contains(extension);
}

bool hasSound(const QString& extension) { return extension != QLatin1String("m1v"); }

bool makeStereoMp3(const QString& path, double seconds, double amplitude, QString* why)
{
    const QString wav = path + QStringLiteral(".wav");
    const bool ok = run(QStringLiteral("sox"),
                        {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                         QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), wav, QStringLiteral("synth"),
                         secondsText(seconds), QStringLiteral("sine"), QStringLiteral("440"), QStringLiteral("sine"),
                         QStringLiteral("660"), QStringLiteral("vol"), QString::number(amplitude)},
                        why)
                    && run(QStringLiteral("lame"),
                           {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("192"), wav, path}, why);
    QFile::remove(wav);
    return ok;
}

bool make(const QString& extension, const QString& path, double seconds, QString* why)
{
    const QString tool = toolFor(extension);
    if (!toolPresent(tool)) {
        *why = tool + QStringLiteral(" is not installed");
        return false;
    }
    if (extension == QLatin1String("mid") || extension == QLatin1String("midi"))
        return writeBytes(path, midiFile(), why);
    if (extension == QLatin1String("rmi")) return writeBytes(path, rmiFile(midiFile()), why);
    if (extension == QLatin1String("mp1")) return writeBytes(path, mpegLayer1(seconds), why);
    if (extension == QLatin1String("mp3")) return makeStereoMp3(path, seconds, 0.5, why);

    if (tool == QLatin1String("sox")) {
        QString type = extension;
        if (extension == QLatin1String("snd")) type = QStringLiteral("au");
        if (extension == QLatin1String("aif")) type = QStringLiteral("aiff");
        return run(QStringLiteral("sox"),
                   {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                    QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-t"), type, path,
                    QStringLiteral("synth"), secondsText(seconds), QStringLiteral("sine"), QStringLiteral("440"),
                    QStringLiteral("vol"), QStringLiteral("0.5")},
                   why);
    }

    QStringList args = {QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                        QStringLiteral("-y")};
    const QString picture = QStringLiteral("testsrc=size=160x120:rate=25:duration=") + secondsText(seconds);
    const QString tone = QStringLiteral("sine=frequency=440:sample_rate=44100:duration=") + secondsText(seconds);
    if (isVideo(extension))
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i") << picture;
    if (hasSound(extension))
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i") << tone;
    if (extension == QLatin1String("mp2") || extension == QLatin1String("mpa")) {
        args << QStringLiteral("-c:a") << QStringLiteral("mp2") << QStringLiteral("-b:a") << QStringLiteral("128k")
             << QStringLiteral("-f") << QStringLiteral("mp2");
    } else if (extension == QLatin1String("wma")) {
        args << QStringLiteral("-c:a") << QStringLiteral("wmav2") << QStringLiteral("-b:a") << QStringLiteral("64k")
             << QStringLiteral("-f") << QStringLiteral("asf");
    } else if (extension == QLatin1String("wmv")) {
        args << QStringLiteral("-c:v") << QStringLiteral("wmv2") << QStringLiteral("-c:a") << QStringLiteral("wmav2")
             << QStringLiteral("-f") << QStringLiteral("asf");
    } else if (extension == QLatin1String("avi")) {
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg4") << QStringLiteral("-c:a")
             << QStringLiteral("libmp3lame") << QStringLiteral("-f") << QStringLiteral("avi");
    } else if (extension == QLatin1String("mpeg") || extension == QLatin1String("mpg")
               || extension == QLatin1String("mpe")) {
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg1video") << QStringLiteral("-c:a")
             << QStringLiteral("mp2") << QStringLiteral("-f") << QStringLiteral("mpeg");
    } else if (extension == QLatin1String("m1v")) {
        args << QStringLiteral("-c:v") << QStringLiteral("mpeg1video") << QStringLiteral("-f")
             << QStringLiteral("mpeg1video");
    } else {
        *why = QStringLiteral("no way to make .") + extension;
        return false;
    }
    args << path;
    return run(QStringLiteral("ffmpeg"), args, why);
}

QByteArray midiFile()
{
    // 480 ticks a quarter note at 120 beats a minute: 480 ticks are half a second.
    QByteArray track;
    auto event = [&](quint32 delta, std::initializer_list<int> bytes) {
        appendVariableLength(track, delta);
        for (int b : bytes) track.append(char(b));
    };
    event(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}); // tempo 500000 microseconds a beat
    event(0, {0xC0, 0x00});                         // channel 1: acoustic grand piano
    event(0, {0x90, 60, 100});
    event(480, {0x80, 60, 0});
    event(0, {0x90, 64, 100});
    event(480, {0x80, 64, 0});
    event(0, {0xFF, 0x2F, 0x00}); // end of track

    QByteArray midi("MThd");
    appendBigEndian32(midi, 6);
    midi.append('\0').append('\0');    // format 0
    midi.append('\0').append('\1');    // one track
    midi.append('\x01').append('\xE0'); // 480 ticks a quarter note
    midi.append("MTrk");
    appendBigEndian32(midi, quint32(track.size()));
    midi.append(track);
    return midi;
}

QByteArray rmiFile(const QByteArray& midi)
{
    QByteArray body("RMID");
    body.append("data");
    appendLittleEndian32(body, quint32(midi.size()));
    body.append(midi);
    if (midi.size() % 2) body.append('\0');
    QByteArray riff("RIFF");
    appendLittleEndian32(riff, quint32(body.size()));
    riff.append(body);
    return riff;
}

QByteArray mpegLayer1(double seconds)
{
    // 384 samples a frame at 48 kHz; 12 x 128000 / 48000 = 32 slots of 4 bytes, no padding.
    const int frames = int(seconds * 48000 / 384 + 0.5);
    constexpr int frameBytes = 128;
    QByteArray out;
    for (int f = 0; f < frames; ++f) {
        BitWriter w(frameBytes);
        w.put(0xFFF, 12); // sync
        w.put(1, 1);      // MPEG-1
        w.put(3, 2);      // layer I
        w.put(1, 1);      // no CRC
        w.put(4, 4);      // 128 kbit/s
        w.put(1, 2);      // 48 kHz
        w.put(0, 1);      // no padding
        w.put(0, 1);      // private
        w.put(3, 2);      // single channel
        w.put(0, 2);      // mode extension
        w.put(0, 4);      // copyright, original, no emphasis
        // Sub-band 0 gets 4 bits a sample (allocation 3); the other 31 are silent.
        w.put(3, 4);
        for (int sb = 1; sb < 32; ++sb) w.put(0, 4);
        w.put(6, 6); // scale factor about 0.5
        // A square wave of two high and two low samples: 375 Hz at 1500 sub-band samples a second.
        for (int s = 0; s < 12; ++s) w.put((s / 2) % 2 ? 0u : 14u, 4);
        out.append(w.bytes());
    }
    return out;
}

} // namespace testmedia
