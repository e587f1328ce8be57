#pragma once
// One running program per user and program folder. The first instance holds a lock file and
// listens on a local socket; a later one finds the lock taken and asks the first, through the
// socket, to bring its window forward. A lock left by a crashed instance is taken over.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process now owns the instance (no other runs).
    bool claim();
    // Asks the running instance to activate its window; false when it cannot be reached.
    bool activateRunning();
    // Runs on the first instance when a later one asks.
    void setActivateHandler(std::function<void()> handler) { m_onActivate = std::move(handler); }

    QString serverName() const { return m_name; }

private:
    QString m_name;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_onActivate;
};
