#pragma once
// Per-song volumes.
#include <QWidget>

class ListView;
class QAction;

class QCheckBox;

class FrmAdjustVolumes : public QWidget {
    Q_OBJECT
public:
    QAction* mnuShowHeaders;
    ListView* lstvItems;
    FrmAdjustVolumes();

    QCheckBox* chkAlwaysAdjust;

    // The stored volume (0..100) of a file; -1 when adjusting is off, the name is empty or
    // the file has none.
    int volumes_GetVolume(const QString& fileName) const;
    void volumes_Add(const QString& artist, const QString& title, int volume, const QString& fileName);
    // The first row of the old name gets the new one (a renamed or moved file).
    void volumes_UpdateFilename(const QString& oldName, const QString& newName);
};
