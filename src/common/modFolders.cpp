#include "common/modFolders.h"

#include "platform/UiServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

QString directory_Browse(QObject*, const QString& startFolder)
{
    const std::optional<QString> chosen =
        veltra::ui().browseForFolder(QStringLiteral("Please select the directory and then click OK:"), startFolder);
    return chosen ? *chosen : QString();
}

namespace {
// The folder's subfolders as full paths, in a stable order: by name ignoring case, then by
// the exact name. Folders seen before (by their real path) are skipped and marked.
QStringList listFolder(const QString& folder, QSet<QString>& seen, int& sinceRepaint)
{
    QString base = folder;
    if (!base.endsWith(u'/')) base += u'/';
    QStringList names = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList out;
    for (const QString& name : names) {
        const QString path = base + name;
        const QString real = QFileInfo(path).canonicalFilePath();
        if (real.isEmpty() || seen.contains(real)) continue;
        seen.insert(real);
        out.append(path);
        // Lets the windows repaint during a long listing, without taking user input.
        if (++sinceRepaint >= 256 && QCoreApplication::instance()) {
            sinceRepaint = 0;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    return out;
}

void addBelow(const QStringList& folders, QStringList& out, QSet<QString>& seen, int& sinceRepaint)
{
    for (const QString& f : folders) {
        const QStringList children = listFolder(f, seen, sinceRepaint);
        out += children;
        addBelow(children, out, seen, sinceRepaint);
    }
}
} // namespace

QStringList directory_GetSubDirectories(const QString& folder, int recursive)
{
    if (folder.trimmed().isEmpty() || !QFileInfo(folder).isDir()) return {};
    QSet<QString> seen;
    seen.insert(QFileInfo(folder).canonicalFilePath());
    int sinceRepaint = 0;
    QStringList out = listFolder(folder, seen, sinceRepaint);
    if (recursive >= 1) addBelow(QStringList(out), out, seen, sinceRepaint);
    return out;
}

bool directory_Exists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

void directory_Create(const QString& path)
{
    if (path.isEmpty() || directory_Exists(path)) return;
    QDir().mkdir(path);
}

QString directory_StartFolder(const QString& stored)
{
    if (!stored.isEmpty() && QFileInfo(stored).isDir()) return stored;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir()) return music;
    return QDir::homePath();
}
