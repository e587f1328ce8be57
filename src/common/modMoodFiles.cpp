#include "common/modMoodFiles.h"

#include "common/modFiles.h"
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
