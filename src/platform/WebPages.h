#pragma once
// The project's own web pages, opened by the Forum and Homepage items of the menus.
#include <QString>

namespace webpages {

inline QString forum() { return QStringLiteral("https://forum.veltra.invalid/"); }
inline QString homepage() { return QStringLiteral("https://www.veltra.invalid/"); }

} // namespace webpages
