#pragma once
// Fuzz bodies for the text files a user, an older version or a crash may leave malformed:
// list files (playlists, volumes, tracking) and the settings file. Shared by the libFuzzer
// binaries (fuzz/) and the test that replays the seed corpus (tests/common).
#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace fuzz {

// One scratch file per process, so parallel fuzz jobs do not share it.
inline QString scratchFile(const char* name)
{
    return QDir::tempPath() + QStringLiteral("/veltra-fuzz-%1-").arg(::getpid()) + QLatin1String(name);
}

inline void putFile(const QString& path, const uint8_t* data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(reinterpret_cast<const char*>(data), qint64(size));
}

// A list file loads into whole records or not at all, and what loads is saved and loaded
// back unchanged, whatever the record size.
inline void listFile(const uint8_t* data, size_t size)
{
    const QString path = scratchFile("list.spp");
    putFile(path, data, size);
    const int columns = size ? 1 + data[0] % 9 : 1;
    QStringList headers;
    for (int c = 0; c < columns; ++c) headers.append(QString::number(c));
    ListViewModel first;
    first.setColumns(headers);
    if (!controls_LoadListView(first, path)) {
        if (first.count() != 0) std::abort();
        return;
    }
    if (!controls_SaveListView(first, path)) std::abort();
    ListViewModel again;
    again.setColumns(headers);
    if (!controls_LoadListView(again, path) || again.count() != first.count()) std::abort();
    for (int row = 1; row <= first.count(); ++row)
        if (again.cells(row) != first.cells(row)) std::abort();
}

// Any settings file reads without harm; a value written reads back as written, and the
// values of other keys stay as they were.
inline void settingsFile(const uint8_t* data, size_t size)
{
    const QString path = scratchFile("settings.ini");
    putFile(path, data, size);
    settings_SetPath(path);
    const QString volume = settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("Volume"), 50);
    const QString left = settings_ReadValue(QStringLiteral("Window"), QStringLiteral("Left"), QString());
    settings_WriteValue(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("a value"));
    if (settings_ReadValue(QStringLiteral("Fuzz"), QStringLiteral("Key"), QString()) != QLatin1String("a value"))
        std::abort();
    settings_WriteValue(QStringLiteral("Settings"), QStringLiteral("Balance"), -12);
    if (settings_ReadNumber(QStringLiteral("Settings"), QStringLiteral("Balance"), 0) != -12) std::abort();
    if (settings_ReadValue(QStringLiteral("Settings"), QStringLiteral("Volume"), 50) != volume) std::abort();
    if (settings_ReadValue(QStringLiteral("Window"), QStringLiteral("Left"), QString()) != left) std::abort();
    settings_SetPath(QString());
}

} // namespace fuzz
