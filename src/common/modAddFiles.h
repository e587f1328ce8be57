#pragma once
// What the Add Files commands of the playlist and of the media library share.
#include <QString>
#include <QStringList>

namespace addfiles {
// The file dialog's filter, in the common dialog's "Name|patterns|..." form.
const QString& filter();
// The most files one selection may bring; more belong to Add Directory.
constexpr int MaxFiles = 100;
// The Add Files dialog under this title (many files at once, started in the folder of
// [Settings] LastDirectoryUsed): the files chosen, in the dialog's order. Nothing when it was
// cancelled, nor when more than MaxFiles were chosen, which is refused with "Add Files Error".
QStringList choose(const QString& title);
} // namespace addfiles
