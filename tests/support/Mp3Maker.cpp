#include "support/Mp3Maker.h"

#include "media/modMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace mp3maker {

namespace {
constexpr int kLayer3Bitrates[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

int bitrateIndex(int kbps)
{
    for (int i = 1; i < 15; ++i)
        if (kLayer3Bitrates[i] == kbps) return i;
    return 9;
}

int rateIndex(int rate) { return rate == 48000 ? 1 : (rate == 32000 ? 2 : 0); }

void putBE32(QByteArray& out, quint32 v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

void putSyncsafe(QByteArray& out, quint32 v)
{
    out.append(char((v >> 21) & 0x7F)).append(char((v >> 14) & 0x7F)).append(char((v >> 7) & 0x7F)).append(char(v & 0x7F));
}

// One frame: header, then zeros (side information all zero decodes as silence).
QByteArray frame(int kbps, int rate, bool padding)
{
    const int length = 144 * kbps * 1000 / rate + (padding ? 1 : 0);
    QByteArray f(length, '\0');
    f[0] = '\xFF';
    f[1] = '\xFB';
    f[2] = char(bitrateIndex(kbps) << 4 | rateIndex(rate) << 2 | (padding ? 2 : 0));
    f[3] = char(0x44); // joint stereo, original
    return f;
}

bool fitsLatin1(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF) return false;
    return true;
}
} // namespace

int frameCount(const Song& song) { return int(std::lround(song.seconds * song.sampleRate / 1152.0)); }

QByteArray audioFrames(const Song& song)
{
    const int frames = frameCount(song);
    QList<int> rates = song.vbrBitrates;
    if (rates.isEmpty()) rates << song.bitrate;
    QByteArray out;
    QByteArray audio;
    qint64 remainder = 0;
    for (int i = 0; i < frames; ++i) {
        const int kbps = rates[i % rates.size()];
        // Padding slots keep the average frame length at the exact bitrate.
        remainder += qint64(144) * kbps * 1000 % song.sampleRate;
        bool pad = false;
        if (remainder >= song.sampleRate) {
            remainder -= song.sampleRate;
            pad = true;
        }
        audio.append(frame(kbps, song.sampleRate, pad));
    }
    if (song.vbr != Vbr::None) {
        QByteArray first = frame(128, song.sampleRate, false);
        QByteArray header;
        if (song.vbr == Vbr::Xing) {
            header = song.vbrBitrates.isEmpty() ? "Info" : "Xing";
            putBE32(header, 3); // frames and bytes present
            putBE32(header, quint32(frames));
            putBE32(header, quint32(audio.size() + first.size()));
        } else {
            header = "VBRI";
            header.append(char(0)).append(char(1));      // version
            header.append(char(0)).append(char(0));      // delay
            header.append(char(0)).append(char(75));     // quality
            putBE32(header, quint32(audio.size() + first.size()));
            putBE32(header, quint32(frames));
            header.append(QByteArray(8, '\0'));          // no table of contents
        }
        first.replace(36, header.size(), header);
        out.append(first);
    }
    out.append(audio);
    return out;
}

RawFrame textFrame(const QByteArray& id, const QString& text)
{
    RawFrame f{id, {}};
    if (fitsLatin1(text)) {
        f.body.append('\0').append(text.toLatin1());
    } else {
        f.body.append('\1').append('\xFF').append('\xFE');
        for (QChar c : text) f.body.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    }
    return f;
}

QByteArray id3v2Tag(const Song& song)
{
    if (!song.id3v2) return {};
    QList<RawFrame> frames;
    if (!song.title.isEmpty()) frames << textFrame("TIT2", song.title);
    if (!song.artist.isEmpty()) frames << textFrame("TPE1", song.artist);
    if (!song.album.isEmpty()) frames << textFrame("TALB", song.album);
    if (!song.year.isEmpty()) frames << textFrame("TYER", song.year);
    if (!song.genre.isEmpty()) frames << textFrame("TCON", song.genre);
    if (!song.comment.isEmpty()) {
        RawFrame t = textFrame("COMM", song.comment);
        const bool wide = t.body[0] == '\1';
        QByteArray body;
        body.append(t.body[0]).append("eng");
        if (wide) body.append("\xFF\xFE\0\0", 4);
        else body.append('\0');
        body.append(t.body.mid(1));
        frames << RawFrame{"COMM", body};
    }
    if (!song.pictureBytes.isEmpty()) {
        QByteArray body;
        body.append('\0').append("image/jpeg").append('\0').append('\3').append("Cover").append('\0');
        body.append(song.pictureBytes);
        frames << RawFrame{"APIC", body};
    }
    frames << song.extraFrames;
    QByteArray data;
    for (const RawFrame& f : frames) {
        data.append(f.id.left(4));
        putBE32(data, quint32(f.body.size()));
        data.append('\0').append('\0');
        data.append(f.body);
    }
    data.append(QByteArray(song.padding, '\0'));
    QByteArray tag("ID3\x03\x00\x00", 6);
    putSyncsafe(tag, quint32(data.size()));
    return tag + data;
}

QByteArray id3v1Tag(const Song& song)
{
    if (!song.id3v1) return {};
    auto field = [](const QString& text, int width) {
        QByteArray b = text.toLatin1().left(width);
        b.append(QByteArray(width - b.size(), '\0'));
        return b;
    };
    const qsizetype genre = song.genre.isEmpty() ? -1 : GenreNames().indexOf(song.genre);
    QByteArray tag("TAG");
    tag.append(field(song.title, 30)).append(field(song.artist, 30)).append(field(song.album, 30));
    tag.append(field(song.year, 4)).append(field(song.comment, 30));
    tag.append(char(genre < 0 ? 255 : genre));
    return tag;
}

QByteArray makeMp3Bytes(const Song& song) { return id3v2Tag(song) + audioFrames(song) + id3v1Tag(song); }

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool makeMp3(const QString& path, const Song& song) { return writeBytes(path, makeMp3Bytes(song)); }

} // namespace mp3maker
