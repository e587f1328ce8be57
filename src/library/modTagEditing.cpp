#include "library/modTagEditing.h"

#include "media/MediaError.h"
#include "media/clsID3v2.h"
#include "media/modMedia.h"

#include <QRegularExpression>

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

Written writeTags(const QString& path, const ID3v1Fields& id3v1, clsID3v2* id3v2, media::SyncBatch* batch, QString* refusal)
{
    if (!id3v2) return media_WriteID3v1(path, id3v1, batch) ? Written::All : Written::Nothing;
    try {
        id3v2->Save(batch, &id3v1);
        return Written::All;
    } catch (const veltra::MediaError& e) {
        if (refusal && e.number() == veltra::MediaError::CannotPerform) *refusal = e.description();
        // The song keeps its ID3v2 tag; the ID3v1 tag is still written, on its own (again, when
        // the failure came after it: the same bytes).
        return media_WriteID3v1(path, id3v1, batch) ? Written::ID3v1Only : Written::Nothing;
    }
}

Written saveChangedFrames(const QString& path, const ID3v1Fields& id3v1, const Texts& before, const Texts& after, QString* refusal)
{
    clsID3v2 tag;
    try {
        tag.setFilename(path);
    } catch (const veltra::MediaError&) {
        return media_WriteID3v1(path, id3v1) ? Written::ID3v1Only : Written::Nothing;
    }
    bool changed = false;
    for (int i = 0; i < TextCount; ++i) {
        if (after[size_t(i)] == before[size_t(i)]) continue;
        setText(tag, Text(i), after[size_t(i)]);
        changed = true;
    }
    // Nothing changed: the tag is not rewritten (a file without one gets none).
    return writeTags(path, id3v1, changed ? &tag : nullptr, nullptr, refusal);
}

QString overwriteRefusal(const QString& path)
{
    try {
        clsID3v2 tag;
        tag.setFilename(path);
        return tag.OverwriteRefusal();
    } catch (const veltra::MediaError&) {
    }
    return {};
}

int genreNumber(const QString& tcon)
{
    const QStringList& names = GenreNames();
    QString text = tcon.section(QChar(0), 0, 0).trimmed();
    static const QRegularExpression reference(QStringLiteral("^\\((\\d{1,3})\\)"));
    if (const QRegularExpressionMatch m = reference.match(text); m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n < names.size()) return n;
        text = text.mid(m.capturedLength()).trimmed();
    }
    bool number = false;
    const int n = text.toInt(&number);
    if (number && n >= 0 && n < names.size()) return n;
    for (int i = 0; i < names.size(); ++i)
        if (!text.isEmpty() && QString::compare(names[i], text, Qt::CaseInsensitive) == 0) return i;
    // Not a name of the list ("Pop/Punk" is): several genres, of which the first counts.
    if (text.contains(u'/')) return genreNumber(text.section(u'/', 0, 0));
    return -1;
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
