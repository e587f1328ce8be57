#pragma once
// Makes real MP3 files for tests: valid MPEG-1 Layer III frames (silence) of a given length,
// bitrate and sample rate, optionally preceded by an ID3v2.3 tag (texts, comment, picture,
// extra frames, padding) and followed by an ID3v1 tag. Players and ffprobe accept them.
//
//   mp3maker::makeMp3(path, {.artist = "A", .title = "T", .seconds = 5, .id3v1 = true});
#include <QByteArray>
#include <QList>
#include <QString>

namespace mp3maker {

// One version 2.3 frame: ID and the data after its ten-byte header.
struct RawFrame {
    QByteArray id;
    QByteArray body;
};

enum class Vbr { None, Xing, Vbri };

struct Song {
    QString artist{};
    QString title{};
    QString album{};
    QString year{};
    QString genre{};           // a name of the ID3v1 list, or empty
    QString comment{};
    double seconds = 2.0;
    int bitrate = 128;         // kbit/s, a value of the MPEG-1 Layer III table
    int sampleRate = 44100;    // 32000, 44100 or 48000
    bool id3v1 = false;
    bool id3v2 = true;
    QByteArray pictureBytes{}; // an APIC frame (image/jpeg, front cover) when not empty
    QList<RawFrame> extraFrames{};
    int padding = 0;           // zero bytes inside the ID3v2 tag after its frames
    Vbr vbr = Vbr::None;       // a first frame that counts the frames
    QList<int> vbrBitrates{};  // bitrates the audio frames cycle through (VBR files)
};

// Frames of audio for `seconds` at the sample rate (1152 samples each).
int frameCount(const Song& song);
QByteArray audioFrames(const Song& song);
// The ID3v2.3 tag (empty when the song has none), with a syncsafe size.
QByteArray id3v2Tag(const Song& song);
QByteArray id3v1Tag(const Song& song);
// A version 2.3 text frame: Latin-1 when the text allows, else UTF-16 with a byte-order mark.
RawFrame textFrame(const QByteArray& id, const QString& text);

QByteArray makeMp3Bytes(const Song& song);
bool makeMp3(const QString& path, const Song& song);

// Bytes of a whole test file written or read in one go.
bool writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

} // namespace mp3maker
