#pragma once
// The hidden window that owns the pop-up menus and the hot-key labels.
#include <QWidget>

class FrmMenus : public QWidget {
    Q_OBJECT
public:
    FrmMenus();
};
