#include "common/MenuArray.h"

#include <QMenu>
#include <QSignalBlocker>
#include <QWidget>

MenuArray::MenuArray(QObject* parent) : QObject(parent) {}

MenuArray::~MenuArray() = default;   // the loaded elements are children of the array

void MenuArray::attach(QAction* element0)
{
    m_items.clear();
    if (!element0) return;
    m_items.insert(0, element0);
    watch(0, element0);
}

void MenuArray::watch(int index, QAction* action)
{
    connect(action, &QAction::triggered, this, [this, index] { emit triggered(index); });
}

QAction* MenuArray::at(int index) const
{
    const auto it = m_items.constFind(index);
    return it == m_items.constEnd() ? nullptr : it.value().data();
}

int MenuArray::ubound() const
{
    for (auto it = m_items.constEnd(); it != m_items.constBegin();) {
        --it;
        if (it.value()) return it.key();
    }
    return -1;
}

int MenuArray::count() const
{
    int n = 0;
    for (const auto& a : m_items)
        if (a) ++n;
    return n;
}

QAction* MenuArray::load(int index)
{
    QAction* first = at(0);
    const int top = ubound();
    if (!first || index <= top || exists(index)) return nullptr;

    auto* a = new QAction(first->text(), this);
    a->setCheckable(first->isCheckable());
    // A hidden action reads as disabled whatever it was set to; the copy takes the setting.
    bool enabled = first->isEnabled();
    if (!first->isVisible()) {
        const QSignalBlocker quiet(first);
        first->setVisible(true);
        enabled = first->isEnabled();
        first->setVisible(false);
    }
    a->setEnabled(enabled);
    a->setVisible(first->isVisible());
    a->setObjectName(first->objectName());

    // Menus that show the array; any other widget takes its elements at once.
    bool onlyMenus = true;
    for (QObject* o : first->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(o);
        if (!menu) {
            onlyMenus = false;
            continue;
        }
        if (!m_watchedMenus.contains(menu)) {
            m_watchedMenus.append(menu);
            connect(menu, &QMenu::aboutToShow, this, &MenuArray::placePending);
            connect(menu, &QObject::destroyed, this, [this, menu] { m_watchedMenus.removeAll(menu); });
        }
    }
    if (!m_pending.isEmpty() || (onlyMenus && m_items.size() > kPlacedAtOnce)) m_pending.append(a);
    else place(at(top), {a});
    m_items.insert(index, a);
    watch(index, a);
    return a;
}

void MenuArray::place(QAction* after, const QList<QAction*>& actions)
{
    if (!after) return;
    for (QObject* o : after->associatedObjects()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) continue;
        const QList<QAction*> current = w->actions();
        const qsizetype pos = current.indexOf(after);
        QAction* before = pos >= 0 && pos + 1 < current.size() ? current[pos + 1] : nullptr;
        for (QAction* a : actions) w->insertAction(before, a);
    }
}

void MenuArray::placePending()
{
    if (m_pending.isEmpty()) return;
    // after the last element already in the menus: the waiting ones are the highest
    QAction* after = nullptr;
    for (auto it = m_items.constBegin(); it != m_items.constEnd(); ++it) {
        if (it.value() == m_pending.first()) break;
        if (it.value()) after = it.value();
    }
    QList<QAction*> actions;
    actions.reserve(m_pending.size());
    for (const QPointer<QAction>& a : std::as_const(m_pending))
        if (a) actions.append(a);
    m_pending.clear();
    place(after, actions);
}

void MenuArray::unload(int index)
{
    if (index <= 0) return;
    QAction* a = at(index);
    m_items.remove(index);
    if (!a) return;
    if (!m_pending.isEmpty() && m_pending.last() == a) m_pending.removeLast();
    else m_pending.removeAll(a);
    delete a;
}

void MenuArray::unloadAbove(int index)
{
    for (int i = ubound(); i > index; --i) unload(i);
}

QString menu_Caption(const QString& text)
{
    QString caption = text;
    return caption.replace(u'&', QStringLiteral("&&"));
}

void menu_SetNameItem(QAction* item, const QString& name)
{
    item->setText(menu_Caption(name));
    item->setData(name);
}

QString menu_ItemName(const QAction* item)
{
    const QVariant name = item->data();
    return name.typeId() == QMetaType::QString ? name.toString() : item->text();
}
