#pragma once
// The mini-mode window: a small player used instead of the main window.
#include <QWidget>

class ctlQX_wScrollbar;

class FrmMini : public QWidget {
    Q_OBJECT
public:
    FrmMini();

    ctlQX_wScrollbar* qxsVolume;
};
