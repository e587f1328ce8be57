#pragma once
// The report-style list view: a ListViewModel shown in a tree view without branches.
// Rows count from 1 (the model's numbering); selection lives in the model's selection
// model, so code that changes the model's selection changes what the user sees and the
// other way round. Per-cell colour and bold come from the model; colours are 0x00BBGGRR or
// system colours. Sorting is the model's: nothing here sorts on its own.
//
// Large lists stay fast: one row height for all rows, no widget per row, painting only
// what is visible.
#include "common/ListViewModel.h"

#include <QPixmap>
#include <QTreeView>

#include <map>

class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // The rows shown. A fresh list view owns its own model; setItems shows another one
    // (not owned; it must outlive the view or be replaced first).
    ListViewModel& items() const { return *m_items; }
    void setItems(ListViewModel* model);
    // So that list-view routines taking the rows can be given the view.
    operator ListViewModel&() const { return *m_items; }

    // Columns; widths in twips.
    void setColumns(const QStringList& headers);
    double columnWidthTwips(int column) const;
    void setColumnWidthTwips(int column, double twips);

    // Forwarded to the model (the view follows the model's state).
    bool hideColumnHeaders() const { return m_items->hideColumnHeaders(); }
    void setHideColumnHeaders(bool hide) { m_items->setHideColumnHeaders(hide); }
    bool multiSelect() const { return m_items->multiSelect(); }
    void setMultiSelect(bool on) { m_items->setMultiSelect(on); }
    void ensureVisible(int row) { m_items->ensureVisible(row); }

    // Column headers that act as buttons (report clicks) or flat ones.
    bool headerButtons() const;
    void setHeaderButtons(bool on);

    // Background and default text colour (0x00BBGGRR or system colours).
    quint32 backColour() const { return m_backColour; }
    void setBackColour(quint32 colour);
    quint32 foreColour() const { return m_foreColour; }
    void setForeColour(quint32 colour);

    // The row at a point of the viewport; 0 where there is none.
    int hitTest(const QPoint& viewportPos) const;
    // The first and last rows at least partly shown; 0 when none.
    int firstVisibleRow() const;
    int lastVisibleRow() const;

    // A picture behind the rows, at the top left; the empty pixmap for none.
    QPixmap backgroundPicture() const { return m_picture; }
    void setBackgroundPicture(const QPixmap& picture);

signals:
    // A click on a column header; columns count from 1 as the headers do.
    void columnClick(int column);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void attach();
    void applyColours();

    ListViewModel* m_items = nullptr;
    ListViewModel* m_own = nullptr;
    QList<QMetaObject::Connection> m_links;
    std::map<int, double> m_twipWidths;
    QPixmap m_picture;
    quint32 m_backColour;
    quint32 m_foreColour;
};
