#pragma once
// A private X server on a display number it picks itself, stopped when the object goes.
#include <QByteArray>
#include <QProcess>
#include <QString>

class Xvfb {
public:
    ~Xvfb();
    static bool installed();
    // screen: "WIDTHxHEIGHTxDEPTH"
    bool start(QString* why, const QString& screen = QStringLiteral("320x240x24"));
    void stop();
    QByteArray display() const { return m_display; }

private:
    QProcess m_process;
    QByteArray m_display;
};
