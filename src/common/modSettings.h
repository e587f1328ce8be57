#pragma once
// settings.ini: the one store of every option. Nothing is cached: each read goes to the
// file and each write replaces the file at once, so a value written anywhere is seen by the
// next read everywhere.
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
// Text of a value as the settings file stores it (numbers without a needless fraction).
QString valueText(const QVariant& value);
// A value of another file kept by the same rules (the update information file).
QString readValueFrom(const QString& path, const QString& section, const QString& key, const QVariant& defaultValue);
}
