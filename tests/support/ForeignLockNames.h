#pragma once
// A program folder several users share (no private runtime folder, so the lock and socket go
// into it), where another user has put a file under every name this user's lock or socket
// could take.
#include "startup/SingleInstance.h"

#include <QFile>
#include <QStringList>

#include <unistd.h>

namespace foreignnames {

inline constexpr uid_t kOtherUser = 12345;

// Makes the files, holding `bytes`, under the first `count` names ending in `suffix` (".lock"
// or ".socket") and gives them to kOtherUser. Their paths; empty when files cannot be given
// away (not root).
inline QStringList make(const QString& folder, const char* suffix, const QByteArray& bytes = QByteArray(),
                        int count = SingleInstance::kNameTries)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString base = SingleInstance(folder).lockPath().chopped(5);   // without ".lock"
    if (!runtime.isNull()) qputenv("XDG_RUNTIME_DIR", runtime);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = base + (i ? QStringLiteral("-%1").arg(i) : QString()) + QString::fromLatin1(suffix);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
        f.close();
        if (::chown(QFile::encodeName(path).constData(), kOtherUser, gid_t(-1)) != 0) return {};
        paths << path;
    }
    return paths;
}

} // namespace foreignnames
