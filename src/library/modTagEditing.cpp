#include "library/modTagEditing.h"

#include "media/MediaError.h"
#include "media/clsID3v2.h"

namespace tags {

QString text(const clsID3v2& tag, Text which)
{
    switch (which) {
    case Artist: return tag.Artist();
    case Title: return tag.Title();
    case Album: return tag.Album();
    case Year: return tag.Year();
    case Comment: return tag.Comment();
    case Track: return tag.Track();
    case OriginalArtist: return tag.OriginalArtist();
    case Composer: return tag.Composer();
    case Copyright: return tag.Copyright();
    case Lyrics: return tag.Lyrics();
    case TextCount: break;
    }
    return {};
}

void setText(clsID3v2& tag, Text which, const QString& value)
{
    switch (which) {
    case Artist: return tag.setArtist(value);
    case Title: return tag.setTitle(value);
    case Album: return tag.setAlbum(value);
    case Year: return tag.setYear(value);
    case Comment: return tag.setComment(value);
    case Track: return tag.setTrack(value);
    case OriginalArtist: return tag.setOriginalArtist(value);
    case Composer: return tag.setComposer(value);
    case Copyright: return tag.setCopyright(value);
    case Lyrics: return tag.setLyrics(value);
    case TextCount: break;
    }
}

bool saveChangedFrames(const QString& path, const Texts& before, const Texts& after)
{
    try {
        clsID3v2 tag;
        tag.setFilename(path);
        bool changed = false;
        for (int i = 0; i < TextCount; ++i) {
            if (after[size_t(i)] == before[size_t(i)]) continue;
            setText(tag, Text(i), after[size_t(i)]);
            changed = true;
        }
        // Nothing changed: the tag is not rewritten (a file without one gets none).
        if (changed) tag.Save();
        return true;
    } catch (const veltra::MediaError&) {
        return false;
    }
}

QString writeFailedText()
{
    return QStringLiteral("An error has occur while trying to write the ID3 Tag.  Make sure that the file is not in use or read-only.");
}

QString withoutNuls(const QString& text)
{
    QString out = text;
    out.remove(QChar(0));
    return out;
}

QString toBoxLines(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString fromBoxLines(const QString& text)
{
    QString out = toBoxLines(text);
    out.replace(u'\n', QStringLiteral("\r\n"));
    return out;
}

} // namespace tags
