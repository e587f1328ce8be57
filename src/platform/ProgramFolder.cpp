#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace programfolder {

namespace {
QString& stored()
{
    static QString folder;
    return folder;
}
} // namespace

QString resolve()
{
    const QString env = qEnvironmentVariable("VELTRA_HOME");
    if (!env.isEmpty()) {
        QDir().mkpath(env);
        return QDir(env).absolutePath();
    }
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        const QFileInfo info(exeDir);
        if (info.isDir() && info.isWritable()) return exeDir;
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = data + QStringLiteral("/veltra");
    QDir().mkpath(folder);
    return folder;
}

QString path()
{
    QString& f = stored();
    if (f.isEmpty()) f = resolve();
    return f;
}

void setPath(const QString& folder)
{
    QString f = folder;
    while (f.size() > 1 && f.endsWith(u'/')) f.chop(1);
    stored() = f;
}

QString file(const QString& relative) { return path() + u'/' + relative; }

QString title() { return QStringLiteral("VELTRA"); }
QString exeName() { return QStringLiteral("veltra"); }
int versionMajor() { return VELTRA_VERSION_MAJOR; }
int versionMinor() { return VELTRA_VERSION_MINOR; }
int versionRevision() { return VELTRA_VERSION_REVISION; }

QString compileDate()
{
    // The compiler's "Mmm dd yyyy", the day padded with a blank.
    const QString text = QString::fromLatin1(__DATE__).simplified();
    const QDate date = QLocale::c().toDate(text, QStringLiteral("MMM d yyyy"));
    return date.isValid() ? QLocale::c().toString(date, QStringLiteral("d MMMM yyyy")) : text;
}

} // namespace programfolder
