#include "media/clsID3v1.h"

#include "common/modVB.h"
#include "media/ByteSource.h"
#include "media/MediaError.h"
#include "media/modMedia.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

#include <cstring>

bool clsID3v1::IsMPEGAudioFile(const QString& path)
{
    const QString name = path.toLower();
    return name.contains(QLatin1String(".mp3")) || name.contains(QLatin1String(".mp2"))
        || name.contains(QLatin1String(".mp1"));
}

void clsID3v1::clear()
{
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_comment.clear();
    m_year.clear();
    m_genre.clear();
    m_hasTag = false;
}

QString clsID3v1::Title() const { return vb::Trim(m_title); }
QString clsID3v1::Artist() const { return vb::Trim(m_artist); }
QString clsID3v1::Genre() const { return vb::Trim(m_genre); }
QString clsID3v1::Album() const { return vb::Trim(m_album); }
QString clsID3v1::Year() const { return vb::Trim(m_year); }
QString clsID3v1::Comment() const { return vb::Trim(m_comment); }

template <class File>
void clsID3v1::readFrom(File& file, bool opened)
{
    if (!opened) throw veltra::MediaError::fromErrno(file.error(), programfolder::exeName());
    readTag(file);
    if (file.failed()) {
        clear();
        throw veltra::MediaError::fromErrno(file.error(), programfolder::exeName());
    }
}

void clsID3v1::setFilename(const QString& path)
{
    m_filename = path;
    clear();
    if (!IsMPEGAudioFile(path)) return;
    media::FileSource file;
    const bool opened = file.open(path);
    readFrom(file, opened);
}

void clsID3v1::setFilename(const QString& path, media::SongFile& song)
{
    m_filename = path;
    clear();
    if (!IsMPEGAudioFile(path)) return;
    readFrom(song, song.isOpen());
}

namespace {
// A field's text: Windows-1252 up to its first NUL.
QString field(const char* p, int width)
{
    const void* nul = std::memchr(p, 0, size_t(width));
    const int length = nul ? int(static_cast<const char*>(nul) - p) : width;
    return textfile::fromWindows1252(QByteArrayView(p, length));
}
} // namespace

void clsID3v1::readTag(media::ByteSource& source)
{
    clear();
    const qint64 size = source.size();
    if (size < 128) return;
    char tag[128];
    if (source.read(size - 128, tag, 128) != 128 || std::memcmp(tag, "TAG", 3) != 0) return;
    m_hasTag = true;
    m_title = field(tag + 3, 30);
    m_artist = field(tag + 33, 30);
    m_album = field(tag + 63, 30);
    m_year = field(tag + 93, 4);
    m_comment = field(tag + 97, 30);
    const int genre = uchar(tag[127]);
    if (genre <= 147) m_genre = GenreNames().at(genre);
}
