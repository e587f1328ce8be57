#include "support/Xvfb.h"

#include <QStandardPaths>

Xvfb::~Xvfb() { stop(); }

void Xvfb::stop()
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool Xvfb::installed() { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }

bool Xvfb::start(QString* why, const QString& screen)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                                             QStringLiteral("tcp"), QStringLiteral("-noreset"), QStringLiteral("-screen"),
                                             QStringLiteral("0"), screen});
    QByteArray out;
    while (!out.contains('\n')) {
        if (!m_process.waitForReadyRead(10000)) {
            *why = QStringLiteral("Xvfb did not start");
            return false;
        }
        out += m_process.readAllStandardOutput();
    }
    m_display = ":" + out.trimmed();
    return true;
}
