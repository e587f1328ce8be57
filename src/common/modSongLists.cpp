#include "common/modSongLists.h"

#include "common/ListViewModel.h"
#include "common/modListFiles.h"
#include "common/modVB.h"

#include <QFile>

#include <algorithm>

namespace songlists {

namespace {
constexpr int kMaxCount = 32767;
}

int findFile(const ListViewModel& list, const QString& fileName)
{
    for (int row = 1; row <= list.count(); ++row)
        if (list.subItem(row, Filename) == fileName) return row;
    return 0;
}

bool save(const ListViewModel& list, const QString& path)
{
    if (list.count() >= 1) return controls_SaveListView(list, path);
    QFile file(path);
    return !file.exists() || file.remove();
}

int playCount(const QString& text)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    if (!ok || n < 0) return 0;
    return int(std::min<qlonglong>(n, kMaxCount));
}

QString playCountText(int count) { return vb::FormatNumber(std::clamp(count, 0, kMaxCount), QStringLiteral("0#")); }

void sortByPlayCount(ListViewModel& list)
{
    list.sortRows([](const QStringList& a, const QStringList& b) { return playCount(a.value(Value)) > playCount(b.value(Value)); });
}

} // namespace songlists
