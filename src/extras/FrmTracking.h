#pragma once
// Play counts of the songs played.
#include <QWidget>

class ListView;
class QAction;

class FrmTracking : public QWidget {
    Q_OBJECT
public:
    QAction* mnuShowHeaders;
    ListView* lstvItems;
    FrmTracking();

    void tracking_Add(const QString& artist, const QString& title, const QString& fileName);
    // The first row of the old name gets the new one (a renamed or moved file).
    void tracking_UpdateFilename(const QString& oldName, const QString& newName);
};
