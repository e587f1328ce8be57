#include "common/ListView.h"

#include <QPainter>

#include "common/modColours.h"
#include "common/modVB.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {
// Applies the model's per-cell colour and bold when a cell is painted.
class ListViewDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant colour = index.data(ListViewModel::ColourRole);
        if (colour.isValid()) {
            const QColor c = colours::toQColor(colour.toUInt(), option->palette);
            if (c.isValid()) {
                option->palette.setColor(QPalette::Active, QPalette::Text, c);
                option->palette.setColor(QPalette::Inactive, QPalette::Text, c);
            }
        }
        if (index.data(ListViewModel::BoldRole).toBool()) option->font.setBold(true);
    }
};
} // namespace

ListView::ListView(QWidget* parent)
    : QTreeView(parent), m_backColour(colours::SystemBit | 5), m_foreColour(colours::SystemBit | 8)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new ListViewDelegate(this));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setMinimumSectionSize(0);
    header()->setSectionsClickable(true);
    header()->setHighlightSections(false);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int logical) { emit columnClick(logical + 1); });

    m_own = new ListViewModel(this);
    m_items = m_own;
    attach();
}

ListView::~ListView()
{
    for (const auto& c : m_links) disconnect(c);
}

void ListView::setItems(ListViewModel* model)
{
    if (!model) model = m_own;
    if (model == m_items) return;
    for (const auto& c : m_links) disconnect(c);
    m_links.clear();
    m_items = model;
    attach();
}

void ListView::attach()
{
    QItemSelectionModel* viewMade = nullptr;
    setModel(m_items);
    viewMade = selectionModel();
    setSelectionModel(m_items->selectionModel());
    if (viewMade && viewMade != m_items->selectionModel() && viewMade->parent() == this) viewMade->deleteLater();

    setSelectionMode(m_items->multiSelect() ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    setHeaderHidden(m_items->hideColumnHeaders());
    m_links.append(connect(m_items, &ListViewModel::multiSelectChanged, this, [this](bool on) {
        setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    }));
    m_links.append(connect(m_items, &ListViewModel::headersVisibilityChanged, this, [this](bool hidden) { setHeaderHidden(hidden); }));
    m_links.append(connect(m_items, &ListViewModel::ensureVisibleRequested, this, [this](int row) {
        scrollTo(m_items->index(row - 1, 0), QAbstractItemView::EnsureVisible);
    }));
}

void ListView::setColumns(const QStringList& headers) { m_items->setColumns(headers); }

double ListView::columnWidthTwips(int column) const
{
    // A width set in twips reads back as set while the column keeps its pixel width, so
    // stored widths do not drift by a pixel's rounding at every run.
    const int pixels = columnWidth(column);
    const auto it = m_twipWidths.find(column);
    if (it != m_twipWidths.end() && std::max(0, vb::TwipsToPixels(it->second)) == pixels) return it->second;
    return vb::PixelsToTwips(pixels);
}

void ListView::setColumnWidthTwips(int column, double twips)
{
    m_twipWidths[column] = twips;
    setColumnWidth(column, std::max(0, vb::TwipsToPixels(twips)));
}

bool ListView::headerButtons() const { return header()->sectionsClickable(); }

void ListView::setHeaderButtons(bool on) { header()->setSectionsClickable(on); }

void ListView::setBackColour(quint32 colour)
{
    m_backColour = colour;
    applyColours();
}

void ListView::setForeColour(quint32 colour)
{
    m_foreColour = colour;
    applyColours();
}

void ListView::applyColours()
{
    QPalette p = palette();
    const QPalette base = QPalette();   // system colours come from the application's palette
    const QColor back = colours::toQColor(m_backColour, base);
    const QColor fore = colours::toQColor(m_foreColour, base);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        if (back.isValid()) p.setColor(group, QPalette::Base, back);
        if (fore.isValid()) p.setColor(group, QPalette::Text, fore);
    }
    // A disabled list keeps the background it was given (a locked playlist is painted grey).
    if (back.isValid()) p.setColor(QPalette::Disabled, QPalette::Base, back);
    setPalette(p);
}

int ListView::hitTest(const QPoint& viewportPos) const
{
    const QModelIndex i = indexAt(viewportPos);
    return i.isValid() ? i.row() + 1 : 0;
}

int ListView::firstVisibleRow() const
{
    if (m_items->count() == 0) return 0;
    const QModelIndex i = indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() + 1 : 0;
}

int ListView::lastVisibleRow() const
{
    if (m_items->count() == 0) return 0;
    QModelIndex i = indexAt(QPoint(1, viewport()->height() - 1));
    if (!i.isValid()) return m_items->count();   // the rows end above the bottom edge
    return i.row() + 1;
}

void ListView::setBackgroundPicture(const QPixmap& picture)
{
    m_picture = picture;
    viewport()->update();
}

void ListView::paintEvent(QPaintEvent* event)
{
    if (!m_picture.isNull()) {
        QPainter p(viewport());
        p.drawPixmap(0, 0, m_picture);
    }
    QTreeView::paintEvent(event);
}
