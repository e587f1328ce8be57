#include "common/modMoodFiles.h"

#include "common/modFiles.h"
#include "common/modLineFiles.h"
#include "common/modListFiles.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

QString moods_FilePath(const QString& name)
{
    // A separator would reach outside the Moods folder.
    if (name.contains(u'/') || name.contains(QChar(0))) return QString();
    const QString folder = programfolder::file(QStringLiteral("Moods"));
    const QString fileName = name + QStringLiteral(".mlst");
    const QString exact = folder + files::separator() + fileName;
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries)
        if (QString::compare(entry, fileName, Qt::CaseInsensitive) == 0) return folder + files::separator() + entry;
    return exact;
}

qint64 moods_CountSongs(const QString& file)
{
    return file.isEmpty() ? 0 : files_CountLines(file);
}

bool moods_HasSong(const QString& file, const QString& path) { return linefile_HasLine(file, path); }

bool moods_AddSong(const QString& file, const QString& path) { return linefile_AppendLine(file, path); }

bool moods_WriteSongs(const QString& file, const QStringList& paths)
{
    return !file.isEmpty() && listfile::writeLines(file, paths);
}

bool moods_IsAcceptableName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u'|' || c.category() == QChar::Other_Control) return false;
    }
    return true;
}
