#pragma once
// The bodies of the fuzz targets, shared by the libFuzzer binaries (fuzz/) and the test
// that replays the seed corpus (tests/media). Each takes any bytes as a whole file.
#include "media/ByteSource.h"
#include "media/ID3v2Format.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"

#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace fuzz {

// A corrupt compressed frame makes Qt's decompressor warn; fuzzing produces thousands.
inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

inline QByteArrayView view(const uint8_t* data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The ID3v2 reader, the model's texts, and the version 2.3 image built from what was read,
// which must itself read back as a tag with a frame for every frame it holds.
inline void id3v2(const uint8_t* data, size_t size)
{
    media::MemorySource source(view(data, size));
    clsID3v2 tag;
    tag.readTag(source);
    qsizetype total = tag.Title().size() + tag.Comment().size() + tag.Year().size() + tag.PlayCounter().size();
    for (int i = 1; i <= tag.FrameCount(); ++i) {
        const QString id = tag.Frame(i);
        for (int n = 1; n <= tag.TagsInFrame(id); ++n) total += tag.id3v2_GetTagText(id, n).size();
    }
    QByteArray image = tag.id3v2_BuildImage();
    media::id3v2::writeSyncsafe(image.data() + 6, quint32(image.size() - 10));
    media::MemorySource again(image);
    clsID3v2 back;
    back.readTag(again);
    if (!back.HasID3v2Tag()) std::abort();
    // Every frame written is a frame read back.
    int written = 0;
    for (qsizetype pos = 10; pos + 10 <= image.size() && image[pos] != 0;) {
        pos += 10 + qsizetype(media::id3v2::readBE32(image.constData() + pos + 4));
        ++written;
    }
    int read = 0;
    for (int i = 1; i <= back.FrameCount(); ++i) read += back.TagsInFrame(back.Frame(i));
    if (read != written) std::abort();
    (void)total;
}

inline void id3v1(const uint8_t* data, size_t size)
{
    media::MemorySource source(view(data, size));
    clsID3v1 tag;
    tag.readTag(source);
    const qsizetype total = tag.Title().size() + tag.Artist().size() + tag.Album().size() + tag.Year().size()
        + tag.Comment().size() + tag.Genre().size();
    if (!tag.HasTag() && total != 0) std::abort();
}

// The MPEG header reader: whatever it finds lies within the file.
inline void mpeg(const uint8_t* data, size_t size)
{
    media::MemorySource source(view(data, size));
    media_ReadMP3Info(source);
    if (MP3Info.AudioStart >= qint64(size)) std::abort();
    if (!MP3Info.MP3Duration.isEmpty() && (MP3Info.Bitrate <= 0 || MP3Info.AudioBytes < 0)) std::abort();
}

} // namespace fuzz
