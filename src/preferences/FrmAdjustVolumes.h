#pragma once
// Per-song volumes.
#include <QWidget>

class FrmAdjustVolumes : public QWidget {
    Q_OBJECT
public:
    FrmAdjustVolumes();
};
