#pragma once
// Folder services: choosing a folder, listing the folders below one, existence and creation.
#include <QString>
#include <QStringList>

class QObject;

// The folder dialog (through the UiServices); "" when cancelled.
QString directory_Browse(QObject* owner, const QString& startFolder);
// Full paths of the folders in `folder`, sorted by name ignoring case; with recursive >= 1
// followed by the folders at every depth below them. Each real folder comes once, whatever
// links lead to it; hidden folders are left out. A missing or blank folder gives none.
QStringList directory_GetSubDirectories(const QString& folder, int recursive);
// True when the path names an existing folder (or file).
bool directory_Exists(const QString& path);
// Creates the folder (one level) when it does not exist.
void directory_Create(const QString& path);
// Where a folder dialog starts for a stored folder: the folder itself when it exists, else
// the user's Music folder, else the home folder (the old default "C:\" names no folder here).
QString directory_StartFolder(const QString& stored);
