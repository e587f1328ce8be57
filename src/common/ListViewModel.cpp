#include "common/ListViewModel.h"

#include <QCollator>

#include <algorithm>
#include <numeric>


ListViewModel::ListViewModel(QObject* parent)
    : QAbstractTableModel(parent), m_selection(new QItemSelectionModel(this, this))
{
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, [this] { invalidateSelectionCache(); });
    connect(this, &QAbstractItemModel::modelReset, this, [this] { invalidateSelectionCache(); });
    connect(this, &QAbstractItemModel::rowsRemoved, this, [this] { invalidateSelectionCache(); });
    connect(this, &QAbstractItemModel::rowsInserted, this, [this] { invalidateSelectionCache(); });
    connect(this, &QAbstractItemModel::layoutChanged, this, [this] { invalidateSelectionCache(); });
}

void ListViewModel::setColumns(const QStringList& headers)
{
    beginResetModel();
    m_headers = headers;
    for (Row& r : m_rows) {
        while (r.cells.size() < m_headers.size()) r.cells.append(QString());
    }
    endResetModel();
}

void ListViewModel::addColumn(const QString& header)
{
    const int c = columnCount();
    beginInsertColumns(QModelIndex(), c, c);
    m_headers.append(header);
    for (Row& r : m_rows) r.cells.append(QString());
    endInsertColumns();
}

void ListViewModel::setColumnHeader(int column, const QString& text)
{
    if (column < 0 || column >= columnCount()) return;
    m_headers[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

ListViewModel::Row ListViewModel::makeRow(const QStringList& cells)
{
    Row r;
    r.cells = cells;
    const int cols = std::max(1, columnCount());
    if (r.cells.size() > cols) r.cells.resize(cols);
    while (r.cells.size() < cols) r.cells.append(QString());
    r.key = m_nextKey++;
    return r;
}

int ListViewModel::add(const QStringList& cells)
{
    const int i = count();
    beginInsertRows(QModelIndex(), i, i);
    m_rows.push_back(makeRow(cells));
    endInsertRows();
    return i + 1;
}

void ListViewModel::insert(int index, const QStringList& cells)
{
    index = std::clamp(index, 1, count() + 1);
    beginInsertRows(QModelIndex(), index - 1, index - 1);
    m_rows.insert(m_rows.begin() + (index - 1), makeRow(cells));
    endInsertRows();
}

void ListViewModel::addRows(const std::vector<QStringList>& rows)
{
    if (rows.empty()) return;
    const int first = count();
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    m_rows.reserve(m_rows.size() + rows.size());
    for (const QStringList& cells : rows) m_rows.push_back(makeRow(cells));
    endInsertRows();
}

void ListViewModel::remove(int index)
{
    if (!valid(index)) return;
    removeRange(index, index);
}

void ListViewModel::removeRange(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, count());
    if (first > last) return;
    beginRemoveRows(QModelIndex(), first - 1, last - 1);
    m_rows.erase(m_rows.begin() + (first - 1), m_rows.begin() + last);
    endRemoveRows();
}

void ListViewModel::clear()
{
    if (m_rows.empty()) return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
    m_selection->clear();
}

int ListViewModel::removeRowList(const QList<int>& rowsIn)
{
    std::vector<int> rows;
    rows.reserve(size_t(rowsIn.size()));
    for (int r : rowsIn)
        if (valid(r)) rows.push_back(r);
    if (rows.empty()) return 0;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    // Runs of neighbouring rows; a few runs are removed as such (the views keep their state),
    // many scattered rows in one reset, which costs one pass instead of one per run.
    std::vector<std::pair<int, int>> runs;
    for (int r : rows) {
        if (!runs.empty() && runs.back().second + 1 == r) runs.back().second = r;
        else runs.emplace_back(r, r);
    }
    if (runs.size() <= 32) {
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) removeRange(it->first, it->second);
        return int(rows.size());
    }

    std::vector<char> gone(m_rows.size(), 0);
    for (int r : rows) gone[size_t(r - 1)] = 1;
    const quint64 currentKey = rowKey(selectedItem());
    std::vector<quint64> selectedKeys;
    for (int r : selectedRows())
        if (!gone[size_t(r - 1)]) selectedKeys.push_back(rowKey(r));

    beginResetModel();
    std::vector<Row> kept;
    kept.reserve(m_rows.size() - rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!gone[i]) kept.push_back(std::move(m_rows[i]));
    m_rows = std::move(kept);
    endResetModel();

    std::sort(selectedKeys.begin(), selectedKeys.end());
    QItemSelection sel;
    int runStart = -1;
    for (int i = 0; i <= count(); ++i) {
        const bool on = i < count() && std::binary_search(selectedKeys.begin(), selectedKeys.end(), m_rows[size_t(i)].key);
        if (on && runStart < 0) runStart = i;
        if (!on && runStart >= 0) {
            sel.select(index(runStart, 0), index(i - 1, std::max(0, columnCount() - 1)));
            runStart = -1;
        }
    }
    m_selection->clear();
    if (!sel.isEmpty()) m_selection->select(sel, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const int cur = rowOfKey(currentKey);
    if (cur) m_selection->setCurrentIndex(index(cur - 1, 0), QItemSelectionModel::NoUpdate);
    return int(rows.size());
}

void ListViewModel::moveRows(const QList<int>& rowsIn, int before)
{
    QList<int> rows;
    for (int r : rowsIn)
        if (valid(r) && !rows.contains(r)) rows.append(r);
    if (rows.isEmpty()) return;
    std::sort(rows.begin(), rows.end());
    before = std::clamp(before, 1, count() + 1);

    emit layoutAboutToBeChanged();
    const QModelIndexList oldPersistent = persistentIndexList();
    std::vector<char> moving(m_rows.size(), 0);
    for (int r : rows) moving[size_t(r - 1)] = 1;
    std::vector<int> order;   // new position -> old row (0-based)
    order.reserve(m_rows.size());
    for (int i = 0; i < before - 1; ++i)
        if (!moving[size_t(i)]) order.push_back(i);
    for (int r : rows) order.push_back(r - 1);
    for (int i = before - 1; i < count(); ++i)
        if (!moving[size_t(i)]) order.push_back(i);

    std::vector<Row> reordered;
    reordered.reserve(m_rows.size());
    std::vector<int> newOfOld(m_rows.size());
    for (size_t n = 0; n < order.size(); ++n) {
        reordered.push_back(std::move(m_rows[size_t(order[n])]));
        newOfOld[size_t(order[n])] = int(n);
    }
    m_rows = std::move(reordered);
    QModelIndexList newPersistent;
    newPersistent.reserve(oldPersistent.size());
    for (const QModelIndex& idx : oldPersistent)
        newPersistent.append(index(newOfOld[size_t(idx.row())], idx.column()));
    changePersistentIndexList(oldPersistent, newPersistent);
    emit layoutChanged();
    emit rowsReordered();
}

QString ListViewModel::cell(int row, int column) const
{
    if (!valid(row)) return QString();
    const Row& r = m_rows[size_t(row - 1)];
    return r.cells.value(column);
}

void ListViewModel::setCell(int row, int column, const QString& text)
{
    if (!valid(row) || column < 0 || column >= std::max(1, columnCount())) return;
    Row& r = m_rows[size_t(row - 1)];
    if (r.cells.value(column) == text) return;
    while (r.cells.size() <= column) r.cells.append(QString());
    r.cells[column] = text;
    const QModelIndex i = index(row - 1, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

QStringList ListViewModel::cells(int row) const { return valid(row) ? m_rows[size_t(row - 1)].cells : QStringList(); }

void ListViewModel::setCells(int row, const QStringList& cells)
{
    // One change signal for the cells that changed, not one per cell.
    if (!valid(row)) return;
    Row& r = m_rows[size_t(row - 1)];
    const int n = std::min(int(cells.size()), std::max(1, columnCount()));
    int first = -1, last = -1;
    for (int c = 0; c < n; ++c) {
        if (r.cells.value(c) == cells[c]) continue;
        while (r.cells.size() <= c) r.cells.append(QString());
        r.cells[c] = cells[c];
        if (first < 0) first = c;
        last = c;
    }
    if (first >= 0) emit dataChanged(index(row - 1, first), index(row - 1, last), {Qt::DisplayRole});
}

void ListViewModel::setColumnTexts(int column, const QStringList& texts)
{
    if (column < 0 || column >= std::max(1, columnCount())) return;
    const int n = std::min(count(), int(texts.size()));
    int first = -1, last = -1;
    for (int i = 0; i < n; ++i) {
        Row& r = m_rows[size_t(i)];
        while (r.cells.size() <= column) r.cells.append(QString());
        if (r.cells[column] == texts[i]) continue;
        r.cells[column] = texts[i];
        if (first < 0) first = i;
        last = i;
    }
    if (first >= 0) emit dataChanged(index(first, column), index(last, column), {Qt::DisplayRole});
}

quint64 ListViewModel::rowKey(int row) const { return valid(row) ? m_rows[size_t(row - 1)].key : 0; }

int ListViewModel::rowOfKey(quint64 key) const
{
    if (!key) return 0;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].key == key) return int(i) + 1;
    return 0;
}

void ListViewModel::setForeColour(int row, quint32 colour)
{
    if (!valid(row)) return;
    Row& r = m_rows[size_t(row - 1)];
    r.colours.assign(size_t(std::max(1, columnCount())), colour);
    emit dataChanged(index(row - 1, 0), index(row - 1, std::max(0, columnCount() - 1)), {ColourRole});
}

quint32 ListViewModel::foreColour(int row, int column) const
{
    if (!valid(row)) return NoColour;
    const Row& r = m_rows[size_t(row - 1)];
    return size_t(column) < r.colours.size() ? r.colours[size_t(column)] : NoColour;
}

void ListViewModel::setCellForeColour(int row, int column, quint32 colour)
{
    if (!valid(row) || column < 0 || column >= std::max(1, columnCount())) return;
    Row& r = m_rows[size_t(row - 1)];
    if (r.colours.size() < size_t(std::max(1, columnCount()))) r.colours.resize(size_t(std::max(1, columnCount())), NoColour);
    r.colours[size_t(column)] = colour;
    const QModelIndex i = index(row - 1, column);
    emit dataChanged(i, i, {ColourRole});
}

void ListViewModel::setBold(int row, bool b)
{
    if (!valid(row)) return;
    Row& r = m_rows[size_t(row - 1)];
    r.bolds.assign(size_t(std::max(1, columnCount())), b);
    emit dataChanged(index(row - 1, 0), index(row - 1, std::max(0, columnCount() - 1)), {BoldRole});
}

bool ListViewModel::bold(int row, int column) const
{
    if (!valid(row)) return false;
    const Row& r = m_rows[size_t(row - 1)];
    return size_t(column) < r.bolds.size() && r.bolds[size_t(column)];
}

void ListViewModel::setCellBold(int row, int column, bool b)
{
    if (!valid(row) || column < 0 || column >= std::max(1, columnCount())) return;
    Row& r = m_rows[size_t(row - 1)];
    if (r.bolds.size() < size_t(std::max(1, columnCount()))) r.bolds.resize(size_t(std::max(1, columnCount())), false);
    r.bolds[size_t(column)] = b;
    const QModelIndex i = index(row - 1, column);
    emit dataChanged(i, i, {BoldRole});
}

void ListViewModel::rebuildSelectionCache() const
{
    m_selCache.assign(m_rows.size(), 0);
    m_selCount = 0;
    const QItemSelection sel = m_selection->selection();
    for (const QItemSelectionRange& range : sel) {
        if (!range.isValid()) continue;
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (r >= 0 && size_t(r) < m_selCache.size() && !m_selCache[size_t(r)]) {
                m_selCache[size_t(r)] = 1;
                ++m_selCount;
            }
        }
    }
    m_selCacheValid = true;
}

bool ListViewModel::isSelected(int row) const
{
    if (!valid(row)) return false;
    if (!m_selCacheValid) rebuildSelectionCache();
    return m_selCache[size_t(row - 1)] != 0;
}

void ListViewModel::setSelected(int row, bool selected)
{
    if (!valid(row)) return;
    if (!m_multiSelect && selected) {
        selectOnly(row);
        return;
    }
    m_selection->select(index(row - 1, 0),
                        (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

void ListViewModel::selectOnly(int row)
{
    if (!valid(row)) return;
    m_selection->setCurrentIndex(index(row - 1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListViewModel::clearSelection() { m_selection->clearSelection(); }

int ListViewModel::selectedCount() const
{
    if (!m_selCacheValid) rebuildSelectionCache();
    return m_selCount;
}

QList<int> ListViewModel::selectedRows() const
{
    if (!m_selCacheValid) rebuildSelectionCache();
    QList<int> out;
    out.reserve(m_selCount);
    for (size_t i = 0; i < m_selCache.size(); ++i)
        if (m_selCache[i]) out.append(int(i) + 1);
    return out;
}

int ListViewModel::selectedItem() const
{
    const QModelIndex cur = m_selection->currentIndex();
    return cur.isValid() ? cur.row() + 1 : 0;
}

void ListViewModel::setSelectedItem(int row)
{
    if (!valid(row)) return;
    const auto flags = m_multiSelect ? QItemSelectionModel::Select | QItemSelectionModel::Rows
                                     : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    m_selection->setCurrentIndex(index(row - 1, 0), flags);
}

void ListViewModel::setMultiSelect(bool on)
{
    if (m_multiSelect == on) return;
    m_multiSelect = on;
    if (!on && selectedCount() > 1) {
        const int keep = selectedItem() ? selectedItem() : selectedRows().first();
        selectOnly(keep);
    }
    emit multiSelectChanged(on);
}

void ListViewModel::ensureVisible(int row)
{
    if (valid(row)) emit ensureVisibleRequested(row);
}

void ListViewModel::setSortKey(int column)
{
    m_sortKey = column;
    if (m_sorted) applySort();
}

void ListViewModel::setSortOrder(SortOrder order)
{
    m_sortOrder = order;
    if (m_sorted) applySort();
}

void ListViewModel::setSorted(bool on)
{
    m_sorted = on;
    if (on) applySort();
}

void ListViewModel::sortNow() { applySort(); }

void ListViewModel::applySort()
{
    if (m_rows.size() < 2) return;
    const int key = m_sortKey;
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    // Letters in the user's language order, case ignored: "Über" sorts with U, "Łódź" with L.
    // A "C" locale names no language: the common order of letters (the root collation) then.
    QCollator collator(QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (const Row& row : m_rows) keys.push_back(collator.sortKey(row.cells.value(key)));
    auto cmp = [&](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return m_sortOrder == Ascending ? c < 0 : c > 0;
    };
    std::stable_sort(order.begin(), order.end(), cmp);
    reorder(order);
}

void ListViewModel::sortRows(const std::function<bool(const QStringList& a, const QStringList& b)>& less)
{
    if (m_rows.size() < 2) return;
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return less(m_rows[size_t(a)].cells, m_rows[size_t(b)].cells); });
    reorder(order);
}

void ListViewModel::reorder(const std::vector<int>& order)
{
    if (order.size() != m_rows.size()) return;
    bool same = true;
    for (size_t i = 0; i < order.size() && same; ++i) same = order[i] == int(i);
    if (same) return;

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList oldPersistent = persistentIndexList();
    std::vector<Row> sortedRows;
    sortedRows.reserve(m_rows.size());
    std::vector<int> newOfOld(m_rows.size());
    for (size_t n = 0; n < order.size(); ++n) {
        sortedRows.push_back(std::move(m_rows[size_t(order[n])]));
        newOfOld[size_t(order[n])] = int(n);
    }
    m_rows = std::move(sortedRows);
    QModelIndexList newPersistent;
    newPersistent.reserve(oldPersistent.size());
    for (const QModelIndex& idx : oldPersistent) newPersistent.append(index(newOfOld[size_t(idx.row())], idx.column()));
    changePersistentIndexList(oldPersistent, newPersistent);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit rowsReordered();
}

void ListViewModel::setHideColumnHeaders(bool hide)
{
    if (m_hideHeaders == hide) return;
    m_hideHeaders = hide;
    emit headersVisibilityChanged(hide);
}

int ListViewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

int ListViewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columnCount(); }

QVariant ListViewModel::data(const QModelIndex& idx, int role) const
{
    if (!idx.isValid() || idx.row() >= count()) return {};
    const Row& r = m_rows[size_t(idx.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return r.cells.value(idx.column());
    case ColourRole: {
        const quint32 c = size_t(idx.column()) < r.colours.size() ? r.colours[size_t(idx.column())] : NoColour;
        return c == NoColour ? QVariant() : QVariant(c);
    }
    case BoldRole: return size_t(idx.column()) < r.bolds.size() && r.bolds[size_t(idx.column())] ? QVariant(true) : QVariant();
    default: return {};
    }
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return m_headers.value(section);
    return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& idx) const
{
    if (!idx.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}
