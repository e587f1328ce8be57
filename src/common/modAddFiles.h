#pragma once
// What the Add Files commands of the playlist and of the media library share.
#include <QString>

namespace addfiles {
// The file dialog's filter, in the common dialog's "Name|patterns|..." form.
const QString& filter();
// The most files one selection may bring; more belong to Add Directory.
constexpr int MaxFiles = 100;
// "Add Files Error": the refusal of a selection of more than MaxFiles files.
void refuseTooMany();
} // namespace addfiles
