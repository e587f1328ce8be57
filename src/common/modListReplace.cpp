#include "common/modListReplace.h"

#include "common/ListViewModel.h"
#include "common/modListFiles.h"

#include <vector>

bool controls_ReplaceListView(ListViewModel& list, const QString& fileName)
{
    // Read aside first; the rows change only once the whole file has loaded.
    ListViewModel loaded;
    QStringList headers;
    for (int c = 0; c < list.columnCount(); ++c) headers.append(list.columnHeader(c));
    loaded.setColumns(headers);
    if (!controls_LoadListView(loaded, fileName)) return false;
    std::vector<QStringList> rows;
    rows.reserve(size_t(loaded.count()));
    for (int r = 1; r <= loaded.count(); ++r) rows.push_back(loaded.cells(r));
    list.clear();
    list.addRows(rows);
    return true;
}
