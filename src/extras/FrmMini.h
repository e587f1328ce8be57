#pragma once
// The mini-mode window: a small player used instead of the main window.
#include <QWidget>

class FrmMini : public QWidget {
    Q_OBJECT
public:
    FrmMini();
};
