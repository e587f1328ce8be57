#pragma once
// The rows of a report-style list view: a text (column 0) and sub-items, 1-based row
// indexes, selection, per-row and per-cell bold and colour, and a sort key and order that
// sort (by text, ignoring case) only when asked to. Needs no widget: ListView shows it.
#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class ListViewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum SortOrder { Ascending = 0, Descending = 1 };
    static constexpr quint32 NoColour = 0xFFFFFFFFu;
    static constexpr int ColourRole = Qt::UserRole + 1;   // quint32 0x00BBGGRR, absent: default
    static constexpr int BoldRole = Qt::UserRole + 2;     // true, absent: normal

    explicit ListViewModel(QObject* parent = nullptr);

    // Columns.
    void setColumns(const QStringList& headers);
    void addColumn(const QString& header);
    int columnCount() const { return int(m_headers.size()); }
    QString columnHeader(int column) const { return m_headers.value(column); }
    void setColumnHeader(int column, const QString& text);

    // Rows (1-based).
    int count() const { return int(m_rows.size()); }
    int add(const QStringList& cells = {});                 // appends; returns the new row's index
    void insert(int index, const QStringList& cells);       // becomes row `index`
    void addRows(const std::vector<QStringList>& rows);     // appends many at once
    void remove(int index);
    void removeRange(int first, int last);                  // rows first..last inclusive
    void clear();
    // Removes the rows listed (any order, repeats and invalid numbers ignored) in one pass,
    // keeping the selection and the current row of the rows that stay; returns how many went.
    int removeRowList(const QList<int>& rows);
    using QAbstractTableModel::moveRows;
    void moveRows(const QList<int>& rows, int before);      // rows keep their order; `before` in old numbering, count()+1 = end
    // Every row to a new place at once: order[new] = old, both counted from 0. Keys, looks and
    // selection go with the rows.
    void reorder(const std::vector<int>& order);

    QString text(int row) const { return cell(row, 0); }
    void setText(int row, const QString& text) { setCell(row, 0, text); }
    QString subItem(int row, int k) const { return cell(row, k); }
    void setSubItem(int row, int k, const QString& text) { setCell(row, k, text); }
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    QStringList cells(int row) const;
    void setCells(int row, const QStringList& cells);
    // Sets one column of rows 1..texts.size() at once (renumbering a long list).
    void setColumnTexts(int column, const QStringList& texts);

    // A key that stays with a row through moves, inserts and sorts.
    quint64 rowKey(int row) const;
    int rowOfKey(quint64 key) const;                        // 0 when gone

    // Looks.
    void setForeColour(int row, quint32 colour);            // the row text and every sub-item
    quint32 foreColour(int row, int column = 0) const;
    void setCellForeColour(int row, int column, quint32 colour);
    void setBold(int row, bool bold);
    bool bold(int row, int column = 0) const;
    void setCellBold(int row, int column, bool bold);

    // Selection and the current row ("selected item").
    QItemSelectionModel* selectionModel() const { return m_selection; }
    bool multiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool on);
    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    void selectOnly(int row);                                // this row alone, and current
    void clearSelection();
    int selectedCount() const;
    QList<int> selectedRows() const;                         // ascending
    int selectedItem() const;                                // the current row; 0 for none
    void setSelectedItem(int row);                           // makes it current and selected
    void ensureVisible(int row);                             // asks the view to scroll

    // Sorting: changing the key or order sorts only while Sorted is on.
    int sortKey() const { return m_sortKey; }
    void setSortKey(int column);
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order);
    bool sorted() const { return m_sorted; }
    void setSorted(bool on);
    void sortNow();
    // A stable sort by the caller's own order (rows given by their cells), leaving the sort
    // key, order and Sorted as they are.
    void sortRows(const std::function<bool(const QStringList& a, const QStringList& b)>& less);

    bool hideColumnHeaders() const { return m_hideHeaders; }
    void setHideColumnHeaders(bool hide);

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction | Qt::CopyAction; }

signals:
    void ensureVisibleRequested(int row);
    void headersVisibilityChanged(bool hidden);
    void multiSelectChanged(bool on);
    void rowsReordered();          // a sort or a move changed the order of rows

private:
    struct Row {
        QStringList cells;
        quint64 key = 0;
        std::vector<quint32> colours;   // per column; empty: all default
        std::vector<bool> bolds;        // per column; empty: none bold
    };
    bool valid(int row) const { return row >= 1 && row <= count(); }
    void invalidateSelectionCache() { m_selCacheValid = false; }
    void rebuildSelectionCache() const;
    void applySort();
    Row makeRow(const QStringList& cells);

    QStringList m_headers;
    std::vector<Row> m_rows;
    quint64 m_nextKey = 1;
    QItemSelectionModel* m_selection;
    bool m_multiSelect = true;
    int m_sortKey = 0;
    SortOrder m_sortOrder = Ascending;
    bool m_sorted = false;
    bool m_hideHeaders = false;
    mutable std::vector<char> m_selCache;
    mutable int m_selCount = 0;
    mutable bool m_selCacheValid = false;
};
