#include "common/modLineFiles.h"

#include "common/modListFiles.h"
#include "platform/TextFile.h"

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
    return textfile::append(fileName, text + QStringLiteral("\r\n"), true);
}
