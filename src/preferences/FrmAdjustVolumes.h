#pragma once
// Per-song volumes.
#include <QWidget>

class QCheckBox;

class FrmAdjustVolumes : public QWidget {
    Q_OBJECT
public:
    FrmAdjustVolumes();

    QCheckBox* chkAlwaysAdjust;

    // The stored volume (0..100) of a file; -1 when adjusting is off, the name is empty or
    // the file has none.
    int volumes_GetVolume(const QString& fileName) const;
    void volumes_Add(const QString& artist, const QString& title, int volume, const QString& fileName);
};
