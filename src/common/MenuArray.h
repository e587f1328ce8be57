#pragma once
// A menu-item array: element 0 is designed into a menu; elements 1, 2 ... are loaded at
// run time, each placed after the element loaded before it, and unloaded again. Indexes
// stay with their elements (unloading one leaves a gap). A click on any element reports
// its index.
//
// Placing an item in a menu costs time in proportion to the menu's length, so a very long
// array (a bookmarks file of 100,000 lines) would take minutes to build. Beyond the first
// kPlacedAtOnce elements, loaded elements exist at once but enter their menus only when one
// of those menus is about to show.
#include <QAction>
#include <QMap>
#include <QObject>
#include <QPointer>

class MenuArray : public QObject {
    Q_OBJECT
public:
    explicit MenuArray(QObject* parent = nullptr);
    ~MenuArray() override;

    // Makes `element0` element 0 (it stays owned by its menu).
    void attach(QAction* element0);

    QAction* at(int index) const;                 // null when not loaded
    QAction* operator[](int index) const { return at(index); }
    bool exists(int index) const { return at(index) != nullptr; }
    int ubound() const;                           // the highest loaded index; -1 when none
    int count() const;                            // elements loaded, element 0 included

    // Loads element `index` (above every loaded one): a copy of element 0's caption,
    // check style, enabled and visible state, placed after the last element.
    QAction* load(int index);
    void unload(int index);                       // element 0 stays
    void unloadAbove(int index);                  // every element above `index`

    static constexpr int kPlacedAtOnce = 1000;
    // Puts the loaded elements that wait for their menus into them (done before a menu shows).
    void placePending();

signals:
    void triggered(int index);

private:
    void watch(int index, QAction* action);
    void place(QAction* after, const QList<QAction*>& actions);
    QMap<int, QPointer<QAction>> m_items;
    QList<QPointer<QAction>> m_pending;   // loaded, not yet in the menus, in order
    QList<QObject*> m_watchedMenus;
};

// A caption that shows `text` as it is: a lone "&" would mark the next letter as a shortcut
// and vanish.
QString menu_Caption(const QString& text);
// An item that stands for a name the user gave (a playlist, a mood): shown as it is, with the
// name kept for its handler.
void menu_SetNameItem(QAction* item, const QString& name);
QString menu_ItemName(const QAction* item);
