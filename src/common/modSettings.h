#pragma once
// settings.ini: the one store of every option. Each write replaces the file at once, and
// each read sees the file as it is: the parsed file is kept only while the file keeps its
// size and times, so a value written anywhere, by this program or another, is seen by the
// next read everywhere. A file that is there but cannot be read reads as empty and is never
// written over.
#include <QString>
#include <QVariant>

// The settings file's path; fixed once at start.
void settings_SetPath(const QString& path);
QString settings_Path();

// The stored text (even when empty), else the default's text; at most 499 characters,
// surrounding blanks and one pair of enclosing quotes removed.
QString settings_ReadValue(const QString& section, const QString& key, const QVariant& defaultValue = QString());
void settings_WriteValue(const QString& section, const QString& key, const QVariant& value);

// A flag: the value compared numerically with 1 (" 1 " counts, "yes" does not).
bool settings_ReadFlag(const QString& section, const QString& key, const QVariant& defaultValue);
// A number read through Val(); a missing key gives the default.
double settings_ReadNumber(const QString& section, const QString& key, const QVariant& defaultValue);
// Writes a flag as "1" or "0".
void settings_WriteFlag(const QString& section, const QString& key, bool on);

namespace settings {
// While one exists, writes change what every read sees at once but reach the file together
// when the last batch ends: start-up writes many keys back, and a long settings file would
// otherwise be rewritten for each.
class WriteBatch {
public:
    WriteBatch();
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;
};

// Text of a value as the settings file stores it (numbers without a needless fraction).
QString valueText(const QVariant& value);
// A value of another file kept by the same rules (the update information file).
QString readValueFrom(const QString& path, const QString& section, const QString& key, const QVariant& defaultValue);
}
