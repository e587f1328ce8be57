// Plays one short song many times back to back through the real player and prints the
// process's resident memory after the first songs and at the end: a player that keeps
// something of every song grows here. bench/player-memory runs it on a private null sink.
// Usage: veltra_playermemory [SONGS]   (default 200); exit code 1 when memory grew > 8 MB.
#include "platform/GstMediaPlayerControl.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// A fifth of a second of a quiet square wave, 16-bit stereo at 44100 Hz.
bool writeWav(const QString& path)
{
    constexpr int rate = 44100, frames = rate / 5;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 data = frames * 4;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + data);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << quint32(rate) << quint32(rate * 4) << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << data;
    for (int i = 0; i < frames; ++i) {
        const qint16 v = (i / 50) % 2 ? 2000 : -2000;
        out << v << v;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int songs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    if (!veltra::GstMediaPlayerControl::isAvailable()) {
        std::fprintf(stderr, "GStreamer or one of its elements is missing\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString song = dir.filePath(QStringLiteral("short.wav"));
    if (!writeWav(song)) return 2;

    veltra::GstMediaPlayerControl player;
    int played = 0;
    long early = 0;
    QObject::connect(&player, &veltra::MediaPlayerControl::Error, &app, [&](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
        app.exit(2);
    });
    QObject::connect(&player, &veltra::MediaPlayerControl::EndOfStream, &app, [&] {
        ++played;
        if (played == std::min(20, songs)) early = residentKb();
        if (played >= songs) {
            app.quit();
            return;
        }
        player.setFileName(song);
        player.Play();
    });
    player.setFileName(song);
    player.Play();
    const int code = app.exec();
    if (code) return code;
    const long late = residentKb();
    std::printf("songs played: %d, RSS after song %d: %ld kB, after song %d: %ld kB, growth %ld kB\n", played,
                std::min(20, songs), early, played, late, late - early);
    return late - early > 8 * 1024 ? 1 : 0;
}
