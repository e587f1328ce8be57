#pragma once
// Text files: written in UTF-8; read as UTF-8 when valid, otherwise as Windows-1252,
// so files written by older versions still load. Files that replace an earlier version
// are written to a temporary file in the same folder and renamed over it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace textfile {

QString fromWindows1252(QByteArrayView bytes);
// Characters outside Windows-1252 become `replacement`.
QByteArray toWindows1252(const QString& text, char replacement = '?');
bool isValidUtf8(QByteArrayView bytes);

// UTF-8 (a leading byte-order mark is dropped) or Windows-1252.
QString decode(QByteArrayView bytes);

// Reads a whole file; false when it cannot be opened.
bool read(const QString& path, QString* text);
bool readBytes(const QString& path, QByteArray* bytes);

// Replaces the file as a whole: a failure leaves the old file untouched.
bool writeAtomic(const QString& path, const QByteArray& bytes);
bool writeAtomic(const QString& path, const QString& text);

// Appends UTF-8 text, creating the file when missing.
bool append(const QString& path, const QString& text);

} // namespace textfile
