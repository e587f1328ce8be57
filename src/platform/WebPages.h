#pragma once
// The project's own web addresses: the pages the Forum and Homepage items open, the maker's
// web site, the folder the update check fetches "veltra.upd" from and the program archive
// it offers. They are placeholders on a reserved domain until the project has its own.
#include <QString>

namespace webpages {

inline QString forum() { return QStringLiteral("https://forum.veltra.invalid/"); }
inline QString homepage() { return QStringLiteral("https://www.veltra.invalid/"); }

// The maker's web site (the update check's and the about box's link).
inline QString web() { return QStringLiteral("https://veltra.invalid/"); }
// The program archive offered when a newer build is available.
inline QString download() { return QStringLiteral("https://veltra.invalid/veltra.zip"); }

namespace detail {
inline QString& updateAddress()
{
    static QString address = QStringLiteral("https://veltra.invalid/updates/");
    return address;
}
} // namespace detail

// The folder address that holds "veltra.upd" (ends in "/updates/").
inline QString update() { return detail::updateAddress(); }
// Points the update check elsewhere for the rest of the run (tests use a local server).
inline void setUpdate(const QString& address) { detail::updateAddress() = address; }

} // namespace webpages
