#include "media/modMedia.h"

#include "common/modFiles.h"
#include "common/modMoodFiles.h"
#include "common/modVB.h"
#include "media/ByteSource.h"
#include "media/ID3v2Format.h"
#include "media/MpegHeader.h"
#include "media/SyncBatch.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <unistd.h>

MP3InfoType MP3Info;
qint16 BitrateTable[8][16];
QString MoodList;

// ---- MPEG audio header -----------------------------------------------------------------

void media_InitBitrateTable()
{
    // One row per bitrate index 1-14: MPEG-1 Layer I, II, III, MPEG-2 Layer I, II, III.
    static const char kRows[] =
        "032,032,032,032,008,008,"
        "064,048,040,048,016,016,"
        "096,056,048,056,024,024,"
        "128,064,056,064,032,032,"
        "160,080,064,080,040,040,"
        "192,096,080,096,048,048,"
        "224,112,096,112,056,056,"
        "256,128,112,128,064,064,"
        "288,160,128,144,080,080,"
        "320,192,160,160,096,096,"
        "352,224,192,176,112,112,"
        "384,256,224,192,128,128,"
        "416,320,256,224,144,144,"
        "448,384,320,256,160,160,";
    static const int kColumns[6] = {7, 6, 5, 3, 2, 1};
    std::memset(BitrateTable, 0, sizeof BitrateTable);
    const char* p = kRows;
    for (int index = 1; index <= 14; ++index) {
        for (int value = 0; value < 6; ++value, p += 4)
            BitrateTable[kColumns[value]][index] = qint16((p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0'));
    }
}

QByteArray media_ShiftNibble(QByteArrayView three)
{
    if (three.size() < 3) return {};
    const auto a = uchar(three[0]), b = uchar(three[1]), c = uchar(three[2]);
    QByteArray out(2, '\0');
    out[0] = char((a & 0x0F) << 4 | b >> 4);
    out[1] = char((b & 0x0F) << 4 | c >> 4);
    return out;
}

namespace {
// Bytes scanned for the first frame, and bytes read so that a frame found near the end of
// the scan can still be checked against the frame after it.
constexpr qint64 kScan = 4096;
constexpr qint64 kWindow = 8192;
// Most files have their first frame right after the tag: a small read confirms it.
constexpr qint64 kFirst = 2048;
constexpr qint64 kMaxZeroRun = 1 << 20;

// The header found half a byte off its alignment: the second test of the original search.
bool nibbleHeader(const uchar* p, qint32* bitrate)
{
    const QByteArray s = media_ShiftNibble(QByteArrayView(reinterpret_cast<const char*>(p), 3));
    if (uchar(s[0]) != 0xFF || (uchar(s[1]) & 0xF0) != 0xF0) return false;
    const uchar h1 = p[2];
    const int column = (h1 >> 7) * 4 | ((h1 >> 5) & 3);
    const int index = h1 & 0x0F;
    *bitrate = qint32(BitrateTable[column][index]) * 1000;
    return *bitrate > 0;
}
} // namespace

void media_ReadMP3Info(media::ByteSource& source)
{
    using namespace media;
    MP3Info = MP3InfoType();
    static const bool tableReady = (media_InitBitrateTable(), true);
    (void)tableReady;
    const qint64 size = source.size();
    MP3Info.FileLength = size;

    // The audio starts after a leading ID3v2 tag and the zero bytes that pad it. Some files
    // carry further tags right after the first; they are passed over too.
    const QByteArray head = source.readBytes(0, kFirst);
    const id3v2::TagArea tag = id3v2::locateTag(source, head, false);
    qint64 pos = tag.found ? tag.tagEnd : 0;
    QByteArray window = tag.found ? source.readBytes(pos, kFirst) : head;
    qint64 zeros = 0;
    for (int tags = tag.found ? 1 : 0; tags <= 8;) {
        qsizetype i = 0;
        while (i < window.size() && window[i] == 0) ++i;
        if (i == window.size()) {
            // zeros up to the end, or more of them than padding ever has: no frame
            if (window.size() < kFirst || (zeros += window.size()) > kMaxZeroRun) return;
            pos += window.size();
            window = source.readBytes(pos, kFirst);
            continue;
        }
        if (i > 0) {
            pos += i;
            window = source.readBytes(pos, kFirst);
        }
        zeros = 0;
        if (tags == 0 || !window.startsWith("ID3")) break;
        const id3v2::TagArea next = id3v2::locateTag(source, window, false, pos);
        if (!next.found) break;
        ++tags;
        pos = next.tagEnd;
        window = source.readBytes(pos, kFirst);
    }
    if (source.failed()) return;
    mpeg::Header first;
    if (window.size() < 4 || mpeg::check(reinterpret_cast<const uchar*>(window.constData()), window.size(), &first)
                                 != mpeg::Check::Confirmed)
        window = source.readBytes(pos, kWindow);
    if (source.failed()) return;

    const auto* w = reinterpret_cast<const uchar*>(window.constData());
    const qint64 available = window.size();
    const qint64 limit = std::min(kScan, available);
    qint64 at = -1;
    mpeg::Header header;
    qint64 fallback = -1;
    mpeg::Header fallbackHeader;
    for (qint64 j = 0; j < limit; ++j) {
        if (w[j] != 0xFF) continue;
        mpeg::Header h;
        const auto c = mpeg::check(w + j, available - j, &h);
        if (c == mpeg::Check::Confirmed || c == mpeg::Check::Unconfirmed) {
            at = j;
            header = h;
            break;
        }
        if (c == mpeg::Check::Mismatch && fallback < 0) {
            fallback = j;
            fallbackHeader = h;
        }
    }
    if (at < 0 && fallback >= 0) {
        at = fallback;
        header = fallbackHeader;
    }

    qint32 bitrate = 0;
    if (at >= 0) {
        bitrate = header.bitrate;
        MP3Info.SampleRate = header.sampleRate;
        MP3Info.VbrFrames = mpeg::vbrFrameCount(w + at, available - at, header);
    } else {
        for (qint64 j = 0; j + 4 <= available && j < limit; ++j) {
            if (nibbleHeader(w + j, &bitrate)) {
                at = j;
                break;
            }
        }
        if (at < 0) return;
    }

    const qint64 audioStart = pos + at;
    bool hasV1 = false;
    if (size - 128 >= audioStart) {
        char tag1[3];
        hasV1 = source.read(size - 128, tag1, 3) == 3 && std::memcmp(tag1, "TAG", 3) == 0;
    }
    MP3Info.Bitrate = bitrate;
    MP3Info.AudioStart = audioStart;
    MP3Info.AudioBytes = size - audioStart - (hasV1 ? 128 : 0);
    double seconds;
    if (MP3Info.VbrFrames > 0 && header.sampleRate > 0)
        seconds = double(MP3Info.VbrFrames) * header.samplesPerFrame() / header.sampleRate;
    else
        seconds = double(MP3Info.AudioBytes) / bitrate * 8;
    MP3Info.MP3Duration = QString::number(qint64(vb::Round(seconds)));
}

void media_ReadMP3Info(const QString& fileName)
{
    media::FileSource file;
    if (!file.open(fileName)) {
        MP3Info = MP3InfoType();
        return;
    }
    media_ReadMP3Info(file);
}

// ---- time and numbers ------------------------------------------------------------------

QString media_FormatTime(qint32 seconds)
{
    if (seconds == 0) return QStringLiteral("00:00");
    const qint64 minutes = qint64(std::floor(double(seconds) / 60.0));
    const qint64 rest = qint64(seconds) - 60 * minutes;
    return vb::FormatNumber(minutes, QStringLiteral("0#")) + u':' + vb::FormatNumber(rest, QStringLiteral("0#"));
}

QString media_GetNumberFormat(int n)
{
    const qsizetype k = QString::number(n).size();
    return QString(k - 1, u'0') + u'#';
}

// ---- ID3v1 -------------------------------------------------------------------------------

const char ID3v1GenreList[] =
    "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|Other|Pop|R&B|Rap|"
    "Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|Trip Hop|"
    "Vocal|Jazz+Funk|Fusion|Trance|Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|Alt. Rock|"
    "Bass|Soul|Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
    "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta Rap|Top 40|"
    "Christian Rap|Pop/Punk|Jungle|Native American|Cabaret|New Wave|Phychedelic|Rave|Showtunes|Trailer|Lo-Fi|"
    "Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|Folk/Rock|National Folk|Swing|"
    "Fast-Fusion|Bebob|Latin|Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|"
    "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|Humour|Speech|Chanson|"
    "Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|Club|Tango|Samba|"
    "Folklore|Ballad|Power Ballad|Rhythmic Soul|Freestyle|Duet|Punk Rock|Drum Solo|A Capella|Euro-House|"
    "Dance Hall|Goa|Drum & Bass|Club-House|Hardcore|Terror|Indie|Brit Pop|Negerpunk|Polsk Punk|Beat|"
    "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|Comteporary Christian|Christian Rock|Merengue|"
    "Salsa|Trash Metal|Anime|JPop|Synth Pop";

const QStringList& GenreNames()
{
    static const QStringList names = QString::fromLatin1(ID3v1GenreList).split(u'|');
    return names;
}

namespace {
// Windows-1252 bytes of a fixed width: padded with spaces or cut. A character outside the
// code page (a surrogate pair counts as one) becomes "?".
QByteArray singleByteText(const QString& text)
{
    QString single;
    single.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            single += u'?';
            ++i;
        } else {
            single += text[i];
        }
    }
    return textfile::toWindows1252(single, '?');
}

QByteArray fixedField(const QString& text, int width)
{
    QByteArray bytes = singleByteText(text).left(width);
    if (bytes.size() < width) bytes.append(width - bytes.size(), ' ');
    return bytes;
}
} // namespace

QByteArray ID3v1Fields::toBytes() const
{
    QByteArray out;
    out.reserve(125);
    out.append(fixedField(Title, 30)).append(fixedField(Artist, 30)).append(fixedField(Album, 30));
    out.append(fixedField(Year, 4)).append(fixedField(Comment, 30)).append(char(Genre));
    return out;
}

ID3v1Placement media_PlaceID3v1(qint64 size, QByteArrayView tail, const ID3v1Fields& fields)
{
    QByteArray body = fields.toBytes();
    if (tail.size() < 128 || !tail.startsWith("TAG")) return {size, QByteArray("TAG") + body};
    // An ID3v1.1 track number (a zero byte, then the track, at the comment's end) stays while
    // the new comment leaves room for it.
    if (tail[125] == 0 && tail[126] != 0 && singleByteText(fields.Comment).size() <= 28) {
        body[122] = '\0';
        body[123] = tail[126];
    }
    return {size - 125, body};
}

bool media_WriteID3v1(const QString& fileName, const ID3v1Fields& fields, media::SyncBatch* batch)
{
    media::FileSource file;
    if (!file.open(fileName, media::FileSource::ReadWrite)) return false;
    const qint64 size = file.size();
    char tail[128];
    if (size >= 128 && file.read(size - 128, tail, 128) != 128) return false;
    const ID3v1Placement place = media_PlaceID3v1(size, QByteArrayView(tail, size >= 128 ? 128 : 0), fields);
    // A write counts once the closing reports no failure of it either.
    auto written = [&](qint64 offset, const QByteArray& bytes) {
        if (!file.write(offset, bytes)) return false;
        if (batch && !batch->defer(file.handle()) && ::fdatasync(file.handle()) != 0) return false;
        return file.close();
    };
    if (place.offset < size) return written(place.offset, place.bytes);
    if (written(size, place.bytes)) return true;
    // A full disk takes part of the tag: the song gets its old length back, not a fragment.
    const int truncated = file.isOpen() ? ::ftruncate(file.handle(), off_t(size))
                                        : ::truncate(QFile::encodeName(fileName).constData(), off_t(size));
    if (truncated != 0) {
        // nothing more can be done; the caller reports the failure
    }
    return false;
}

// ---- moods ----------------------------------------------------------------------------------

void media_ResetMoods()
{
    using namespace veltra;
    const QString text = QStringLiteral(
        "Once the moods have been reset, you will not be able to get them back again.\r\n\r\n"
        "Do you wish to continue?\r\n");
    if (msgBox(text, MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Reset Moods Confirmation"))
        != MsgResult::Yes)
        return;
    for (const QString& name : MoodList.split(u'|')) {
        // A name with a separator names no file of the Moods folder: nothing outside it goes.
        const QString file = moods_FilePath(name);
        if (!file.isEmpty()) files_DeleteFile(file);
    }
}
