#include "common/MenuTable.h"

#include <QKeySequence>

namespace menutable {

void nameMenu(QMenu* menu, const char* name)
{
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
}

QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* m = parent->addMenu(caption);
    nameMenu(m, name);
    return m;
}

QAction* addItem(QMenu* parent, const char* name, const char* caption, const char* shortcut, bool checkable)
{
    const QString keys = QString::fromLatin1(shortcut);
    QString text = QString::fromUtf8(caption);
    if (!keys.isEmpty()) text += u'\t' + keys;
    QAction* a = parent->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    a->setShortcutContext(Qt::WindowShortcut);
    if (!keys.isEmpty()) a->setShortcut(QKeySequence::fromString(keys, QKeySequence::PortableText));
    return a;
}

MenuArray* addArray(QObject* owner, QMenu* parent, const char* name, const char* caption, bool checkable)
{
    auto* array = new MenuArray(owner);
    array->setObjectName(QString::fromLatin1(name));
    array->attach(addItem(parent, name, caption, "", checkable));
    if (checkable) {
        // The elements' commands come with the lists they show; until then a click keeps the mark.
        QObject::connect(array, &MenuArray::triggered, owner, [array](int index) {
            if (QAction* a = array->at(index); a && a->isCheckable()) a->setChecked(!a->isChecked());
        });
    }
    return array;
}

void connectItem(QObject* context, QAction* item, std::function<void()> handler)
{
    QObject::connect(item, &QAction::triggered, context, [item, handler = std::move(handler)] {
        if (item->isCheckable()) item->setChecked(!item->isChecked());
        if (handler) handler();
    });
}

bool reachable(const QAction* item)
{
    if (!item || !item->isEnabled()) return false;
    bool inMenu = false;
    for (QObject* o : item->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(o);
        if (!menu) continue;   // the menu bar
        inMenu = true;
        if (reachable(menu->menuAction())) return true;
    }
    return !inMenu;
}

void showKey(QAction* item, const QString& keys)
{
    // A widget shortcut fires only while a widget holding the item has the focus; a pop-up
    // menu's items lead only to the menu's own item, which nothing holds.
    item->setShortcutContext(Qt::WidgetShortcut);
    item->setShortcutVisibleInContextMenu(true);   // the pop-ups count as context menus
    item->setShortcut(QKeySequence::fromString(keys, QKeySequence::PortableText));
}

} // namespace menutable
