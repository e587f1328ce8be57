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
};
