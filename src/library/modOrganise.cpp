#include "library/modOrganise.h"

#include "common/modFiles.h"
#include "common/modVB.h"
#include "media/clsID3v1.h"
#include "media/clsID3v2.h"

namespace organise {

namespace {
enum Tag { Artist, Title, Album };
constexpr Tag kPatterns[7][3] = {
    {Artist, Title, Title},   // two values: the third entry is not used
    {Title, Artist, Artist},
    {Artist, Album, Title},
    {Artist, Title, Album},
    {Title, Artist, Album},
    {Album, Artist, Title},
    {Album, Title, Artist},
};
constexpr int kValues[7] = {2, 2, 3, 3, 3, 3, 3};
} // namespace

const QStringList& patternCaptions()
{
    static const QStringList captions{
        QStringLiteral("1.  Artist - Title"),         QStringLiteral("2.  Title - Artist"),
        QStringLiteral("3.  Artist - Album - Title"), QStringLiteral("4.  Artist - Title - Album"),
        QStringLiteral("5.  Title - Artist - Album"), QStringLiteral("6.  Album - Artist - Title"),
        QStringLiteral("7.  Album - Title - Artist"),
    };
    return captions;
}

bool isUnsupportedCharacter(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F) return true;
    switch (u) {
    case u'\\': case u'/': case u':': case u'*': case u'?': case u'"': case u'<': case u'>': case u'|': return true;
    default: return false;
    }
}

bool hasUnsupportedCharacter(const QString& name)
{
    for (const QChar c : name)
        if (isUnsupportedCharacter(c)) return true;
    return false;
}

QString patternName(const QString& artist, const QString& title, const QString& album, int pattern, bool numbered,
                    int position, const QString& sourcePath, QString* missing)
{
    if (missing) missing->clear();
    if (pattern < 0 || pattern > 6) return {};
    const QString values[3] = {artist, title, album};
    static const char* const kFields[3] = {"Artist", "Title", "Album"};
    QString name;
    if (numbered) name = vb::FormatNumber(position, QStringLiteral("0#")) + QStringLiteral(" - ");
    for (int k = 0; k < kValues[pattern]; ++k) {
        const Tag tag = kPatterns[pattern][k];
        QString value = values[tag];
        value.removeIf([](QChar c) { return isUnsupportedCharacter(c); });
        value = value.trimmed();
        // A name that starts with "." is a hidden file here: the song would vanish from file
        // managers and folder listings ("...And You Will Know Us" as the artist).
        if (name.isEmpty()) {
            qsizetype lead = 0;
            while (lead < value.size() && (value[lead] == u'.' || value[lead].isSpace())) ++lead;
            value.remove(0, lead);
        }
        if (value.isEmpty()) {
            if (missing) *missing = QLatin1String(kFields[tag]);
            return {};
        }
        if (k > 0) name += QStringLiteral(" - ");
        name += value;
    }
    // The extension of the file's own name: a folder's "." is no extension.
    const QString file = files_GetFileName(sourcePath);
    const qsizetype dot = file.lastIndexOf(u'.');
    if (dot >= 0) name += u'.' + file.mid(dot + 1).toLower();
    name.removeIf([](QChar c) { return isUnsupportedCharacter(c); });
    return name;
}

SongTags readTags(const QString& path, bool useID3v2)
{
    SongTags t;
    try {
        if (useID3v2) {
            clsID3v2 tag;
            tag.setFilename(path);
            t = {tag.Artist(), tag.Title(), tag.Album(), tag.Year()};
        } else {
            clsID3v1 tag;
            tag.setFilename(path);
            t = {tag.Artist(), tag.Title(), tag.Album(), tag.Year()};
        }
    } catch (...) {
        t = {};   // an unreadable file has no tag texts; the caller goes on
    }
    return t;
}

bool isMpegAudio(const QString& path)
{
    const QString file = files_GetFileName(path);
    const qsizetype dot = file.lastIndexOf(u'.');
    if (dot < 0) return false;
    const QString ext = file.mid(dot + 1).toLower();
    return ext == QLatin1String("mp3") || ext == QLatin1String("mp2") || ext == QLatin1String("mp1");
}

QString message(const QString& first, const QString& second)
{
    return first + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n");
}

QString fileMessage(const QString& first, const QString& path, const QString& second)
{
    return first + QStringLiteral("\r\n\r\n") + path + QStringLiteral("\r\n\r\n") + second + QStringLiteral("\r\n");
}

QString folderWithSeparator(const QString& path)
{
    QString folder = files_GetDirectory(path);
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

} // namespace organise
