#include "common/MenuArray.h"

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
    QAction* last = at(top);

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
    for (QObject* o : last->associatedObjects()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) continue;
        const QList<QAction*> actions = w->actions();
        const qsizetype pos = actions.indexOf(last);
        QAction* before = pos >= 0 && pos + 1 < actions.size() ? actions[pos + 1] : nullptr;
        w->insertAction(before, a);
    }
    m_items.insert(index, a);
    watch(index, a);
    return a;
}

void MenuArray::unload(int index)
{
    if (index <= 0) return;
    QAction* a = at(index);
    m_items.remove(index);
    if (!a) return;
    delete a;
}

void MenuArray::unloadAbove(int index)
{
    for (int i = ubound(); i > index; --i) unload(i);
}
