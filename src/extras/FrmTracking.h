#pragma once
// Play counts of the songs played.
#include <QWidget>

class FrmTracking : public QWidget {
    Q_OBJECT
public:
    FrmTracking();

    void tracking_Add(const QString& artist, const QString& title, const QString& fileName);
};
