#pragma once
// Runs every file of a fuzz target's seed corpus (fuzz/corpus/<target>) through the target,
// as the fuzzer does, so every build checks the inputs that once reached each branch.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

inline void replayFuzzCorpus(const char* target, void (*run)(const uint8_t*, size_t))
{
    const QDir folder(QStringLiteral(VELTRA_SOURCE_DIR "/fuzz/corpus/") + QLatin1String(target));
    const QStringList names = folder.entryList(QDir::Files);
    ASSERT_GE(names.size(), 5) << "seed corpus missing: " << folder.path().toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
}
