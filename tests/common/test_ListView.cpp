#include "support/TestEnv.h"

#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modColours.h"

#include <QHeaderView>
#include <QImage>
#include <QScrollBar>

namespace {

class ListViewTest : public VeltraTest {
protected:
    static void fill(ListViewModel& m, int n)
    {
        m.setColumns({QStringLiteral("No."), QStringLiteral("Artist:"), QStringLiteral("Title:")});
        std::vector<QStringList> rows;
        for (int i = 1; i <= n; ++i) rows.push_back({QString::number(i), QStringLiteral("Artist %1").arg(i), QStringLiteral("Title")});
        m.addRows(rows);
    }
    static QStringList column(const ListViewModel& m, int c)
    {
        QStringList out;
        for (int r = 1; r <= m.count(); ++r) out.append(m.cell(r, c));
        return out;
    }
};

// ---- The model ----

TEST_F(ListViewTest, ModelSortsOnlyWhenAskedAndNotOnCellChanges)
{
    ListViewModel m;
    m.setColumns({QStringLiteral("No."), QStringLiteral("Artist:")});
    m.addRows({{QStringLiteral("1"), QStringLiteral("beta")}, {QStringLiteral("2"), QStringLiteral("Alpha")}, {QStringLiteral("3"), QStringLiteral("gamma")}});
    m.setSortKey(1);   // not sorted yet: nothing moves
    EXPECT_EQ(column(m, 1), (QStringList{"beta", "Alpha", "gamma"}));
    m.setSorted(true);
    EXPECT_EQ(column(m, 1), (QStringList{"Alpha", "beta", "gamma"}));   // ignoring case
    m.setSubItem(3, 1, QStringLiteral("aardvark"));
    EXPECT_EQ(column(m, 1), (QStringList{"Alpha", "beta", "aardvark"}));
    m.setSortOrder(ListViewModel::Descending);
    EXPECT_EQ(column(m, 1), (QStringList{"beta", "Alpha", "aardvark"}));
    m.setSorted(false);
    m.setSortOrder(ListViewModel::Ascending);
    EXPECT_EQ(column(m, 1), (QStringList{"beta", "Alpha", "aardvark"}));
}

TEST_F(ListViewTest, ModelRemovesListedRowsKeepingSelectionAndKeys)
{
    for (int n : {10, 400}) {   // few runs, many runs
        ListViewModel m;
        fill(m, n);
        QList<int> gone;
        for (int r = 1; r <= n; r += 2) gone.append(r);
        gone.append(0);
        gone.append(n + 5);
        gone.append(1);   // repeats and invalid numbers are ignored
        const quint64 key4 = m.rowKey(4);
        m.setSelected(3, true);   // goes
        m.setSelected(4, true);   // stays
        m.setSelectedItem(6);
        EXPECT_EQ(m.removeRowList(gone), n / 2) << n;
        EXPECT_EQ(m.count(), n - n / 2);
        EXPECT_EQ(m.text(1), QStringLiteral("2"));
        EXPECT_EQ(m.text(2), QStringLiteral("4"));
        EXPECT_EQ(m.rowOfKey(key4), 2);
        EXPECT_EQ(m.selectedRows(), (QList<int>{2, 3})) << n;
        EXPECT_EQ(m.selectedItem(), 3) << n;
    }
}

TEST_F(ListViewTest, ModelSetsAColumnInOneChange)
{
    ListViewModel m;
    fill(m, 50);
    int changes = 0;
    QObject::connect(&m, &QAbstractItemModel::dataChanged, [&] { ++changes; });
    QStringList texts;
    for (int i = 1; i <= 50; ++i) texts.append(QStringLiteral("%1").arg(i, 2, 10, QChar(u'0')));
    m.setColumnTexts(0, texts);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m.text(7), QStringLiteral("07"));
    m.setColumnTexts(0, texts);   // the same texts: no change
    EXPECT_EQ(changes, 1);
}

TEST_F(ListViewTest, ModelLeavingMultiSelectKeepsOneRow)
{
    ListViewModel m;
    fill(m, 5);
    m.setSelected(2, true);
    m.setSelected(4, true);
    m.setSelectedItem(4);
    m.setMultiSelect(false);
    EXPECT_EQ(m.selectedRows(), QList<int>{4});
}

// ---- The view ----

TEST_F(ListViewTest, ViewSharesTheModelsSelectionBothWays)
{
    ListView view;
    fill(view.items(), 5);
    EXPECT_EQ(view.selectionModel(), view.items().selectionModel());
    view.items().selectOnly(3);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(2, QModelIndex()));
    EXPECT_EQ(view.currentIndex().row(), 2);

    // As a user's click does it.
    view.selectionModel()->setCurrentIndex(view.model()->index(4, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(view.items().selectedRows(), QList<int>{5});
    EXPECT_EQ(view.items().selectedItem(), 5);

    ListViewModel other;
    fill(other, 2);
    view.setItems(&other);
    EXPECT_EQ(view.selectionModel(), other.selectionModel());
    other.selectOnly(2);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(1, QModelIndex()));
    view.setItems(nullptr);   // back to its own rows
    EXPECT_EQ(view.items().count(), 5);
}

TEST_F(ListViewTest, ViewFollowsSelectionModeAndHeaderVisibility)
{
    ListView view;
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);
    view.setMultiSelect(false);
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::SingleSelection);
    view.items().setMultiSelect(true);
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);

    EXPECT_FALSE(view.isHeaderHidden());
    view.items().setHideColumnHeaders(true);
    EXPECT_TRUE(view.isHeaderHidden());
    view.setHideColumnHeaders(false);
    EXPECT_FALSE(view.isHeaderHidden());
    EXPECT_TRUE(view.uniformRowHeights());
    EXPECT_FALSE(view.isSortingEnabled());
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(ListViewTest, ColumnWidthsInTwipsAndZeroWidthColumns)
{
    ListView view;
    fill(view.items(), 1);
    view.setColumnWidthTwips(0, 800);
    view.setColumnWidthTwips(1, 3000);
    view.setColumnWidthTwips(2, 0);
    EXPECT_EQ(view.columnWidth(0), 53);   // 800 / 15, rounded
    EXPECT_EQ(view.columnWidth(1), 200);
    EXPECT_EQ(view.columnWidth(2), 0);
    EXPECT_DOUBLE_EQ(view.columnWidthTwips(1), 3000);
}

TEST_F(ListViewTest, HeaderClicksCountColumnsFromOne)
{
    ListView view;
    fill(view.items(), 1);
    QList<int> clicked;
    QObject::connect(&view, &ListView::columnClick, [&](int c) { clicked.append(c); });
    emit view.header()->sectionClicked(0);
    emit view.header()->sectionClicked(2);
    EXPECT_EQ(clicked, (QList<int>{1, 3}));
}

TEST_F(ListViewTest, EnsureVisibleScrollsTheRowIntoView)
{
    ListView view;
    fill(view.items(), 1000);
    view.resize(300, 200);
    view.show();
    processEvents(20);
    EXPECT_EQ(view.firstVisibleRow(), 1);
    view.ensureVisible(900);
    processEvents(20);
    EXPECT_LE(view.firstVisibleRow(), 900);
    EXPECT_GE(view.lastVisibleRow(), 900);
    EXPECT_GT(view.verticalScrollBar()->value(), 0);
    const QRect r = view.visualRect(view.model()->index(899, 0));
    EXPECT_EQ(view.hitTest(r.center()), 900);
}

namespace {
int countPixels(const QImage& img, const QRect& area, const std::function<bool(QColor)>& match)
{
    int n = 0;
    const QRect a = area.intersected(img.rect());
    for (int y = a.top(); y <= a.bottom(); ++y)
        for (int x = a.left(); x <= a.right(); ++x)
            if (match(img.pixelColor(x, y))) ++n;
    return n;
}
} // namespace

TEST_F(ListViewTest, CellsArePaintedInTheirColourAndWeight)
{
    ListView view;
    view.setColumns({QStringLiteral("Text")});
    QFont f = view.font();
    f.setPixelSize(18);
    view.setFont(f);
    view.setHideColumnHeaders(true);
    ListViewModel& m = view.items();
    const QString text = QStringLiteral("WWWWWWWW");
    m.addRows({{text}, {text}, {text}});
    m.setCellForeColour(1, 0, 0x0000FF);    // red as 0x00BBGGRR
    m.setBold(3, true);
    view.setColumnWidthTwips(0, 4500);
    view.resize(320, 200);
    view.show();
    processEvents(20);
    const QImage img = view.viewport()->grab().toImage();
    auto rowRect = [&](int row) { return view.visualRect(m.index(row - 1, 0)); };
    auto red = [](QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; };
    auto ink = [](QColor c) { return c.lightness() < 110; };
    EXPECT_GT(countPixels(img, rowRect(1), red), 10);
    EXPECT_EQ(countPixels(img, rowRect(2), red), 0);
    EXPECT_GT(countPixels(img, rowRect(3), ink), countPixels(img, rowRect(2), ink));
}

TEST_F(ListViewTest, ColourNumbersAndSystemColours)
{
    const QPalette p;
    EXPECT_EQ(colours::toQColor(0x000080, p), QColor(128, 0, 0));
    EXPECT_EQ(colours::toQColor(0xC00000, p), QColor(0, 0, 192));
    EXPECT_EQ(colours::toQColor(0x80000005u, p), p.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(colours::toQColor(0x80000008u, p), p.color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(colours::toQColor(0x8000000Fu, p), p.color(QPalette::Active, QPalette::Button));
    EXPECT_FALSE(colours::toQColor(0x80000063u, p).isValid());
    EXPECT_FALSE(colours::toQColor(0x01000000u, p).isValid());
    EXPECT_EQ(colours::fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);

    ListView view;
    view.setBackColour(0x000000);
    view.setForeColour(0xFFFFFF);
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(view.palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_EQ(view.backColour(), 0u);
}

} // namespace
