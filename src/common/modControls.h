#pragma once
// Routines shared by every window for menus, text boxes, combo boxes, list boxes and list
// views. List boxes and combo boxes count entries from 0, list-view rows from 1.
// The list-view routines take the rows (a ListView converts to them).
#include <QIcon>
#include <QString>
#include <QStyle>
#include <Qt>

#include <functional>
#include <initializer_list>
#include <span>

class ListView;
class ListViewModel;
class QAbstractItemView;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QToolBar;
class QWidget;

// The desktop theme's icon of this name, else the style's own.
QIcon controls_ThemeIcon(const char* name, QStyle::StandardPixmap fallback);

// Menus. Each writes Enabled only when it differs.
void controls_DisableMenu(QAction* item);
void controls_EnableMenu(QAction* item);
// A switch whose check mark is its state: flips the mark, writes "1" or "0" under
// section/key at once, and returns the new state.
bool controls_ToggleMenu(QAction* item, const QString& section, const QString& key);
// The state of the item at `itemPosition` of the drop-down at `menuPosition` of the window's
// menu bar (visible entries, separators included, count from 0): 128 and above while the
// item is highlighted (the value also carries 8 for a check mark and 3 when disabled),
// 0 for an item that is not highlighted, negative for a position that names no command
// (nothing there, a separator, a submenu).
int controls_GetMenuItemState(QWidget* window, int menuPosition, int itemPosition);

// Text boxes. True when the typed character (its code; 8 is backspace) must be refused:
// only digits are accepted, and "0" only where it cannot begin the number.
bool controls_IsNumericKey(const QLineEdit* box, int keyCode);
// Makes the box drop every typed character that controls_IsNumericKey refuses.
void controls_FilterNumericKeys(QLineEdit* box);
// Lets a filtered box take any text for a while (a box whose content changes kind), and
// filters it again; on by default.
void controls_SetNumericFilterOn(QLineEdit* box, bool on);
bool controls_NumericFilterOn(const QLineEdit* box);
// True when the text is a number whose 16-bit integer value lies in minimum..maximum.
bool controls_ValidateRange(const QLineEdit* box, int maximum, int minimum);

// Combo boxes.
void controls_ComboAddString(QComboBox* combo, const QString& text);
int controls_ComboFindExact(const QComboBox* combo, const QString& text);   // ignoring case; -1 when absent
// Selects the first entry whose text is exactly `text`; without one, the last entry.
void controls_ComboSelectText(QComboBox* combo, const QString& text);

// List boxes.
void controls_ListAddString(QListWidget* list, const QString& text);
int controls_ListFindExact(const QListWidget* list, const QString& text, Qt::CaseSensitivity cs = Qt::CaseInsensitive);
void controls_ListMoveItem(QListWidget* list, int i, int j);
void controls_ListRemoveSelected(QListWidget* list);
void controls_ListRemoveDeadFiles(QListWidget* list);

// List views.
int controls_GetSelectedCount(const ListViewModel& list);
bool controls_HasSelectedItem(const ListViewModel& list);
// The row a command of a single-selection list acts on: the current row when it is selected,
// else the first selected one; 0 for none.
int controls_SelectedRow(const ListViewModel& list);
// Flips the column headers between buttons and flat headers.
void controls_SetHeaderStyle(ListView& list);
void controls_RemoveSelectedItems(ListViewModel& list);
void controls_SwapItems(ListViewModel& list, int i, int j, bool select);
void controls_SelectItem(ListViewModel& list, int index);
// The row numbers in column 0: "01".."09" style padding when UseNumberPaddingInPlaylists is on.
void controls_RenumberItems(ListViewModel& list);
int controls_CountMatchingItems(const ListViewModel& list, const QString& text, int column,
                                Qt::CaseSensitivity cs = Qt::CaseInsensitive);
bool controls_FindItem(ListViewModel& list, const QString& text, int column, bool select,
                       Qt::CaseSensitivity cs = Qt::CaseInsensitive);
void controls_RemoveDeadFiles(ListViewModel& list, int column);
void controls_ClearListView(ListViewModel& list);

// The same routines under the names some windows know them by.
inline bool controls_HasSelection(const ListViewModel& list) { return controls_HasSelectedItem(list); }
inline bool controls_GetSelectedIndex(const ListViewModel& list) { return controls_HasSelectedItem(list); }
inline int controls_CountMatches(const ListViewModel& list, const QString& text, int column)
{
    return controls_CountMatchingItems(list, text, column);
}
inline int controls_RemoveDuplicates(const ListViewModel& list, const QString& text, int column)
{
    return controls_CountMatchingItems(list, text, column);
}
inline bool controls_RemoveSelectedByName(ListViewModel& list, const QString& text, int column, bool select)
{
    return controls_FindItem(list, text, column, select);
}

// List views and list boxes sized in rows of their own font: the height of a row; the height
// that shows `rows` whole rows under the column headers; the most of `height` (a design
// height in pixels) that shows whole rows; the part of a row cut off at the list's present
// height (0 when it shows whole rows).
int controls_RowHeight(const QAbstractItemView* list);
int controls_HeightForRows(const QAbstractItemView* list, int rows);
int controls_WholeRowsHeight(const QAbstractItemView* list, int height);
int controls_PartRow(const QAbstractItemView* list);
// A window about to open at its own size: no taller than the screen's work area (less the
// owner's frame, its own being unknown yet) and, where a list grows with it, with the part
// of a row cut off the list, never below the window's least size.
void controls_FitOpeningSize(QWidget* window);

// Line files (one entry per line, CR LF) moved to and from list and combo boxes.
// Saving replaces the file whole; false when it could not be written.
bool controls_SaveListToFile(const QString& fileName, const QListWidget* list);
// Adds each whole line at the end of the list; false (nothing added) when the file cannot be read.
bool controls_LoadFileIntoList(const QString& fileName, QListWidget* list);
// Adds each field (a comma ends an entry unless it is quoted) at the end of the combo's list.
bool controls_LoadFileIntoCombo(const QString& fileName, QComboBox* combo);

// Status bars of the player windows: a sunken label per panel ("sbPanel1" …), the first
// taking the spare width and the others at the right, made with their design texts.
void controls_AddStatusPanels(QStatusBar* bar, std::span<QLabel*> panels, std::initializer_list<const char*> texts);
// Panel `panel` (from 1): its text, "" for none; setting it writes only a text that differs.
QString controls_StatusPanelText(std::span<QLabel* const> panels, int panel);
void controls_SetStatusPanelText(std::span<QLabel* const> panels, int panel, const QString& text);
// The bands stacked at the top of `client` at their own heights (their controls placed at
// once) and the status bar, when shown, along its bottom, whatever a layout does;
// `heightChanged` hears of each band whose height changed.
void controls_PlaceBars(QWidget* client, std::initializer_list<QToolBar*> bands, QStatusBar* statusBar,
                        const std::function<void(QToolBar*)>& heightChanged = {});
