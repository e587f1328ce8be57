#pragma once
// Menus built from a table: one row per entry in display order, so that a new command is one
// row. A row gives the form's member that receives the entry, the entry's object name, its
// caption, its shortcut, whether it carries a check mark, and the form's handler.
//
// Check marks are state that the handlers keep (modes, switches, open windows): Qt ticks a
// checkable item on every click by itself, so the click's own tick is taken back before the
// handler runs, and an item whose command is not built yet keeps its mark as it is.
#include "common/MenuArray.h"

#include <QAction>
#include <QMenu>
#include <QString>
#include <functional>
#include <variant>

template <class Form>
struct MenuRow {
    // A submenu, an item, a menu array's element 0, or nothing: a separator.
    using Member = std::variant<std::monostate, QMenu* Form::*, QAction* Form::*, MenuArray* Form::*>;

    int depth = 0;                 // 0: a top-level menu; n: inside the last menu of depth n - 1
    Member member = {};
    const char* name = "";
    const char* caption = "";
    const char* shortcut = "";     // key text ("Ctrl+N"), also shown after a TAB in the caption
    bool checkable = false;
    std::function<void(Form&)> handler = {};   // empty while the command is not built; arrays
                                               // report their element through MenuArray::triggered
};

namespace menutable {
QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption);
void nameMenu(QMenu* menu, const char* name);
QAction* addItem(QMenu* parent, const char* name, const char* caption, const char* shortcut, bool checkable);
MenuArray* addArray(QObject* owner, QMenu* parent, const char* name, const char* caption, bool checkable);
// A click runs `handler` (when there is one); a check item keeps the mark it had before the click.
void connectItem(QObject* context, QAction* item, std::function<void()> handler);
// Whether the user can reach the item: it and every menu above it are enabled. A disabled
// submenu leaves its items' own state alone, so a key checks the whole way up.
bool reachable(const QAction* item);
// Shows `keys` in the item's key column, for a key that the window handles itself: the item
// gets it as a shortcut that fires nowhere. Only for items of pop-up menus that no window or
// menu bar holds.
void showKey(QAction* item, const QString& keys);
} // namespace menutable

// Builds `rows` into `form`. `topLevel` makes the menu of a depth-0 row from its caption (a
// menu of the menu bar, or a pop-up of its own).
template <class Form, class Rows>
void buildMenus(Form& form, const Rows& rows, const std::function<QMenu*(const QString&)>& topLevel)
{
    constexpr int kDepths = 8;
    QMenu* open[kDepths] = {};
    for (const MenuRow<Form>& row : rows) {
        Q_ASSERT(row.depth >= 0 && row.depth < kDepths && (row.depth == 0 || open[row.depth - 1]));
        QMenu* parent = row.depth > 0 ? open[row.depth - 1] : nullptr;
        if (auto* menu = std::get_if<QMenu* Form::*>(&row.member)) {
            const QString caption = QString::fromUtf8(row.caption);
            QMenu* m = parent ? menutable::addSubmenu(parent, row.name, caption) : topLevel(caption);
            if (!parent) menutable::nameMenu(m, row.name);
            form.*(*menu) = m;
            open[row.depth] = m;
        } else if (auto* item = std::get_if<QAction* Form::*>(&row.member)) {
            QAction* a = menutable::addItem(parent, row.name, row.caption, row.shortcut, row.checkable);
            form.*(*item) = a;
            std::function<void()> run;
            if (row.handler) run = [&form, handler = row.handler] { handler(form); };
            if (row.checkable || run) menutable::connectItem(&form, a, std::move(run));
        } else if (auto* array = std::get_if<MenuArray* Form::*>(&row.member)) {
            form.*(*array) = menutable::addArray(&form, parent, row.name, row.caption, row.checkable);
        } else {
            parent->addSeparator();
        }
    }
}
