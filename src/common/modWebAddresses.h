#pragma once
// The project's own web pages, opened by the Help menus' forum and home-page items.
#include <QString>

namespace webaddress {
inline QString forum() { return QStringLiteral("https://forum.veltra.invalid/"); }
inline QString homepage() { return QStringLiteral("https://www.veltra.invalid/"); }
} // namespace webaddress
