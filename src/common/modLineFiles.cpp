#include "common/modLineFiles.h"

#include "common/modListFiles.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

bool linefile_HasLine(const QString& fileName, const QString& text)
{
    QStringList lines;
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || !listfile::readLines(fileName, &lines)) return false;
    return lines.contains(text);
}

bool linefile_AppendLine(const QString& fileName, const QString& text)
{
    if (fileName.isEmpty()) return false;
    QString line = text + QStringLiteral("\r\n");
    QFile old(fileName);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) return false;
        char last = '\n';
        if (old.size() > 0 && (!old.seek(old.size() - 1) || !old.getChar(&last))) return false;
        if (last != '\n' && last != '\r') line.prepend(QStringLiteral("\r\n"));
    }
    return textfile::append(fileName, line);
}
