#pragma once
// Opening a playlist over the rows a list already shows.
#include <QString>

class ListViewModel;

// Replaces the rows by the records of the file. A file that fails to load (its own "Error
// Loading List" box) leaves the rows as they were, so nothing of the old list is lost by a
// broken file; false then.
bool controls_ReplaceListView(ListViewModel& list, const QString& fileName);
