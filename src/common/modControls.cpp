#include "common/modControls.h"

#include "common/ListView.h"
#include "common/ListViewModel.h"
#include "common/modFiles.h"
#include "common/modListFiles.h"
#include "common/modSettings.h"
#include "common/modVB.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>

using namespace veltra;

namespace {
void reportDeadFiles(int removed)
{
    const QString text = removed > 0
        ? QStringLiteral("It has been detected that you had ") + QString::number(removed)
              + QStringLiteral(" dead filenames in the list.\r\n\r\nThese items have been removed.\r\n")
        : QStringLiteral("No dead filenames were found within the list.\r\n\r\nNo items have been removed from the list.\r\n");
    msgBox(text, MsgButtons::OK, MsgIcon::Information, QStringLiteral("Remove Dead Filenames Information"));
}

QList<QAction*> visibleActions(const QWidget* w)
{
    QList<QAction*> out;
    for (QAction* a : w->actions())
        if (a->isVisible()) out.append(a);
    return out;
}

class NumericKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        auto* box = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (!box || key->key() == Qt::Key_Backspace || !controls_NumericFilterOn(box)) return false;
        const QString text = key->text();
        // Keys without a character (arrows, Delete) and control characters (shortcuts) pass.
        if (text.isEmpty() || text[0].unicode() < 32) return false;
        return controls_IsNumericKey(box, text[0].unicode());
    }
};
} // namespace

// ---- Menus ----

QIcon controls_ThemeIcon(const char* name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

void controls_DisableMenu(QAction* item)
{
    if (item && item->isEnabled()) item->setEnabled(false);
}

void controls_EnableMenu(QAction* item)
{
    if (item && !item->isEnabled()) item->setEnabled(true);
}

bool controls_ToggleMenu(QAction* item, const QString& section, const QString& key)
{
    const bool on = !item->isChecked();
    item->setChecked(on);
    settings_WriteFlag(section, key, on);
    return on;
}

int controls_GetMenuItemState(QWidget* window, int menuPosition, int itemPosition)
{
    if (!window) return -1;
    QMenuBar* bar = nullptr;
    if (auto* main = qobject_cast<QMainWindow*>(window)) bar = qobject_cast<QMenuBar*>(main->menuWidget());
    if (!bar) bar = window->findChild<QMenuBar*>();
    if (!bar) return -1;
    const QList<QAction*> menus = visibleActions(bar);
    if (menuPosition < 0 || menuPosition >= menus.size() || !menus[menuPosition]->menu()) return -1;
    QMenu* menu = menus[menuPosition]->menu();
    const QList<QAction*> items = visibleActions(menu);
    if (itemPosition < 0 || itemPosition >= items.size()) return -1;
    QAction* item = items[itemPosition];
    if (item->isSeparator() || item->menu()) return -1;
    int state = 0;
    if (!item->isEnabled()) state |= 3;
    if (item->isChecked()) state |= 8;
    if (menu->isVisible() && menu->activeAction() == item) state |= 128;
    return (state < 2 || state >= 128) ? state : 0;
}

// ---- Text boxes ----

bool controls_IsNumericKey(const QLineEdit* box, int keyCode)
{
    if (keyCode == 8) return false;
    if (keyCode >= '1' && keyCode <= '9') return false;
    if (keyCode != '0') return true;
    if (!box) return true;
    const QString text = box->text();
    const int caret = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const qsizetype selected = box->selectedText().size();
    return text.isEmpty() || caret == 0 || selected == text.size();
}

void controls_FilterNumericKeys(QLineEdit* box)
{
    if (!box || box->property("veltraNumericFilter").toBool()) return;
    box->installEventFilter(new NumericKeyFilter(box));
    box->setProperty("veltraNumericFilter", true);
}

void controls_SetNumericFilterOn(QLineEdit* box, bool on)
{
    if (box) box->setProperty("veltraNumericFilterOff", !on);
}

bool controls_NumericFilterOn(const QLineEdit* box) { return box && !box->property("veltraNumericFilterOff").toBool(); }

bool controls_ValidateRange(const QLineEdit* box, int maximum, int minimum)
{
    if (!box) return false;
    const QString text = box->text();
    if (text.isEmpty()) return false;
    bool ok = false;
    const double v = vb::ToDouble(text, &ok);
    if (!ok || !(v > -32768.5 && v < 32767.5)) return false;
    const int n = vb::CInt(v);
    return n >= minimum && n <= maximum;
}

// ---- Combo boxes ----

// Adding entries selects none (a combo box would select its first entry on its own).
static void addKeepingSelection(QComboBox* combo, const QStringList& texts)
{
    const int before = combo->currentIndex();
    combo->addItems(texts);
    if (before < 0 && combo->currentIndex() >= 0) combo->setCurrentIndex(-1);
}

void controls_ComboAddString(QComboBox* combo, const QString& text)
{
    if (combo) addKeepingSelection(combo, {text});
}

int controls_ComboFindExact(const QComboBox* combo, const QString& text)
{
    if (!combo) return -1;
    for (int i = 0; i < combo->count(); ++i)
        if (QString::compare(combo->itemText(i), text, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void controls_ComboSelectText(QComboBox* combo, const QString& text)
{
    if (!combo) return;
    combo->setCurrentIndex(-1);
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    if (combo->count() > 0) combo->setCurrentIndex(combo->count() - 1);
}

// ---- List boxes ----

void controls_ListAddString(QListWidget* list, const QString& text)
{
    if (list) list->addItem(text);
}

int controls_ListFindExact(const QListWidget* list, const QString& text, Qt::CaseSensitivity cs)
{
    if (!list) return -1;
    for (int i = 0; i < list->count(); ++i)
        if (QString::compare(list->item(i)->text(), text, cs) == 0) return i;
    return -1;
}

void controls_ListMoveItem(QListWidget* list, int i, int j)
{
    if (!list || i < 0 || j < 0 || i >= list->count() || j >= list->count()) return;
    QListWidgetItem* a = list->item(i);
    QListWidgetItem* b = list->item(j);
    const QString t = a->text();
    a->setText(b->text());
    b->setText(t);
    list->setCurrentRow(j);
}

void controls_ListRemoveSelected(QListWidget* list)
{
    if (!list) return;
    const int r = list->currentRow();
    if (r < 0 || !list->item(r)->isSelected()) return;
    delete list->takeItem(r);
    const int n = list->count();
    if (n == 0) list->setCurrentRow(-1);
    else list->setCurrentRow(r < n ? r : n - 1);
}

void controls_ListRemoveDeadFiles(QListWidget* list)
{
    if (!list) return;
    int removed = 0;
    for (int i = 0; i < list->count();) {
        if (!files_FileExists(list->item(i)->text())) {
            delete list->takeItem(i);
            ++removed;
        } else {
            ++i;
        }
    }
    reportDeadFiles(removed);
}

// ---- List views ----

int controls_GetSelectedCount(const ListViewModel& list) { return list.selectedCount(); }

bool controls_HasSelectedItem(const ListViewModel& list) { return list.selectedCount() > 0; }

void controls_SetHeaderStyle(ListView& list) { list.setHeaderButtons(!list.headerButtons()); }

void controls_RemoveSelectedItems(ListViewModel& list)
{
    int row = list.selectedItem();
    if (row == 0 || !list.isSelected(row)) {
        const QList<int> selected = list.selectedRows();
        if (selected.isEmpty()) return;
        row = selected.first();
    }
    list.remove(row);
    const int n = list.count();
    if (n == 0) {
        list.clearSelection();
        return;
    }
    list.setSelectedItem(row > n ? n : row);
}

void controls_SwapItems(ListViewModel& list, int i, int j, bool select)
{
    if (i < 1 || j < 1 || i > list.count() || j > list.count()) return;
    if (i != j) {
        const QStringList a = list.cells(i);
        const QStringList b = list.cells(j);
        list.setCells(i, b);
        list.setCells(j, a);
    }
    if (select) list.setSelectedItem(j);
}

int controls_SelectedRow(const ListViewModel& list)
{
    const int current = list.selectedItem();
    if (current != 0 && list.isSelected(current)) return current;
    const QList<int> chosen = list.selectedRows();
    return chosen.isEmpty() ? 0 : chosen.first();
}

void controls_SelectItem(ListViewModel& list, int index)
{
    const bool inRange = index >= 1 && index <= list.count();
    if (!inRange) {
        if (list.multiSelect()) list.clearSelection();
        return;
    }
    list.ensureVisible(index);
    list.selectOnly(index);
}

void controls_RenumberItems(ListViewModel& list)
{
    const int n = list.count();
    const bool pad = settings_ReadFlag(QStringLiteral("Settings"), QStringLiteral("UseNumberPaddingInPlaylists"), QStringLiteral("1"));
    const qsizetype digits = QString::number(n).size();
    const QString format = digits <= 1 ? QStringLiteral("0#") : QString(digits - 1, u'0') + u'#';
    QStringList texts;
    texts.reserve(n);
    for (int i = 1; i <= n; ++i) texts.append(pad ? vb::FormatNumber(i, format) : QString::number(i));
    list.setColumnTexts(0, texts);
}

int controls_CountMatchingItems(const ListViewModel& list, const QString& text, int column, Qt::CaseSensitivity cs)
{
    int n = 0;
    for (int row = 1; row <= list.count(); ++row)
        if (QString::compare(list.cell(row, column), text, cs) == 0) ++n;
    return n;
}

bool controls_FindItem(ListViewModel& list, const QString& text, int column, bool select, Qt::CaseSensitivity cs)
{
    for (int row = 1; row <= list.count(); ++row) {
        if (QString::compare(list.cell(row, column), text, cs) == 0) {
            if (select) list.setSelectedItem(row);
            return true;
        }
    }
    return false;
}

void controls_RemoveDeadFiles(ListViewModel& list, int column)
{
    QList<int> dead;
    for (int row = 1; row <= list.count(); ++row)
        if (!files_FileExists(list.cell(row, column))) dead.append(row);
    list.removeRowList(dead);
    reportDeadFiles(int(dead.size()));
}

void controls_ClearListView(ListViewModel& list)
{
    // One reset whatever the size: removing rows one by one only costs time here.
    list.clear();
}

// ---- Line files ----

bool controls_SaveListToFile(const QString& fileName, const QListWidget* list)
{
    QStringList lines;
    if (list) {
        lines.reserve(list->count());
        for (int i = 0; i < list->count(); ++i) lines.append(list->item(i)->text());
    }
    return listfile::writeLines(fileName, lines);
}

bool controls_LoadFileIntoList(const QString& fileName, QListWidget* list)
{
    QStringList lines;
    if (!list || !listfile::readLines(fileName, &lines)) return false;
    list->addItems(lines);
    return true;
}

bool controls_LoadFileIntoCombo(const QString& fileName, QComboBox* combo)
{
    QString text;
    if (!combo || !textfile::read(fileName, &text)) return false;
    addKeepingSelection(combo, listfile::readFields(text));
    return true;
}

void controls_AddStatusPanels(QStatusBar* bar, std::span<QLabel*> panels, std::initializer_list<const char*> texts)
{
    int i = 0;
    for (const char* text : texts) {
        if (size_t(i) >= panels.size()) break;
        QLabel* panel = new QLabel(QString::fromLatin1(text), bar);
        panel->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i == 0) bar->addWidget(panel, 1);
        else bar->addPermanentWidget(panel);
        panels[size_t(i++)] = panel;
    }
}

QString controls_StatusPanelText(std::span<QLabel* const> panels, int panel)
{
    return panel >= 1 && size_t(panel) <= panels.size() ? panels[size_t(panel - 1)]->text() : QString();
}

void controls_SetStatusPanelText(std::span<QLabel* const> panels, int panel, const QString& text)
{
    if (panel >= 1 && size_t(panel) <= panels.size() && panels[size_t(panel - 1)]->text() != text) panels[size_t(panel - 1)]->setText(text);
}

void controls_PlaceBars(QWidget* client, std::initializer_list<QToolBar*> bands, QStatusBar* statusBar,
                        const std::function<void(QToolBar*)>& heightChanged)
{
    const int width = client->width();
    int top = 0;
    for (QToolBar* band : bands) {
        if (!band->isVisibleTo(client)) continue;
        const int h = band->sizeHint().height();
        const int before = band->height();
        band->setGeometry(0, top, width, h);
        if (QLayout* l = band->layout()) l->activate();   // its controls placed before the layout reads them
        top += h;
        if (before != h && heightChanged) heightChanged(band);
    }
    if (statusBar->isVisibleTo(client)) {
        const int h = statusBar->sizeHint().height();
        statusBar->setGeometry(0, client->height() - h, width, h);
    }
}

int controls_RowHeight(const QAbstractItemView* list)
{
    if (!list) return 0;
    const QAbstractItemModel* model = list->model();
    if (model && model->rowCount() > 0)
        if (const int h = list->visualRect(model->index(0, 0)).height(); h > 0) return h;
    // An empty list: a row of text as the delegate would size it, which may be taller than
    // the font's line.
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.font = list->font();
    option.fontMetrics = list->fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    const int h = list->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), list).height();
    return std::max(h, list->fontMetrics().height());
}

int controls_HeightForRows(const QAbstractItemView* list, int rows)
{
    if (!list) return 0;
    int chrome = 2 * list->frameWidth();
    if (const auto* tree = qobject_cast<const QTreeView*>(list); tree && !tree->isHeaderHidden())
        chrome += tree->header()->sizeHint().height();
    return chrome + rows * controls_RowHeight(list);
}

int controls_WholeRowsHeight(const QAbstractItemView* list, int height)
{
    const int row = std::max(1, controls_RowHeight(list));
    const int chrome = controls_HeightForRows(list, 0);
    return chrome + std::max(0, height - chrome) / row * row;
}

int controls_PartRow(const QAbstractItemView* list)
{
    const int row = controls_RowHeight(list);
    const int shown = list ? list->height() - controls_HeightForRows(list, 0) : 0;
    return row > 0 && shown > 0 ? shown % row : 0;
}

void controls_FitOpeningSize(QWidget* window)
{
    QLayout* layout = window ? window->layout() : nullptr;
    if (!layout) return;
    layout->activate();
    if (window->minimumSize() == window->maximumSize()) return;   // a fixed size is its own business
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();   // the size showing would give it
    QSize size = window->size();
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QSize frame = owner && owner->isVisible() ? owner->frameGeometry().size() - owner->size() : QSize(0, 0);
    if (QScreen* screen = window->screen()) size = size.boundedTo(screen->availableGeometry().size() - frame);
    // A hidden window's layouts, its panels' too, place their controls at a new size only
    // when asked again.
    auto resize = [window, layout](const QSize& to) {
        window->resize(to);
        layout->invalidate();
        layout->activate();
        for (QWidget* w : window->findChildren<QWidget*>())
            if (QLayout* inner = w->layout(); inner && w->window() == window) {
                inner->invalidate();
                inner->activate();
            }
    };
    resize(size.expandedTo(window->minimumSize()));
    for (const QAbstractItemView* list : window->findChildren<QAbstractItemView*>()) {
        if (qobject_cast<const QHeaderView*>(list) || list->window() != window || !list->isVisibleTo(window)
            || !(list->sizePolicy().verticalPolicy() & QSizePolicy::GrowFlag))
            continue;
        // The layout may share the cut with other controls that grow: cut again what it left.
        for (int pass = 0; pass < 4; ++pass) {
            const int part = controls_PartRow(list);
            if (part == 0 || window->height() - part < window->minimumHeight()) break;
            const QSize before = window->size();
            const int listBefore = list->height();
            resize(QSize(before.width(), before.height() - part));
            if (list->height() == listBefore) {   // the cut went elsewhere: nothing gained
                resize(before);
                break;
            }
        }
        return;   // the first such list: the others take what the layout then leaves them
    }
}
