#pragma once
// A click on an item of an open menu, as the user's mouse does it.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

inline void clickInMenu(QMenu* menu, QAction* item)
{
    menu->popup(QPoint(10, 10));
    const QPoint at = menu->actionGeometry(item).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, menu->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, menu->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &press);
    QCoreApplication::sendEvent(menu, &release);
    menu->hide();
}
