#pragma once
// One running program per user and program folder. The first instance holds a lock file and
// listens on a local socket; a later one finds the lock taken and asks the first, through the
// socket, to bring its window forward. A lock left by a crashed instance is taken over.
//
// Both live in the user's own runtime folder ($XDG_RUNTIME_DIR, when it is a folder of this
// user that nobody else may enter), otherwise in the program folder itself: never under a
// name anyone could guess in a folder everyone may write to. Their names carry the user's
// number, so the users of a shared program folder each have their own; a file of another
// user's found under our name is never used nor touched: the next name of a short row is
// taken instead, the same one by every start of ours. Since another user may free a name of
// the row at any time, a start looks for a running instance of ours under every name of the
// row, not only under the first free one. When another user holds every name of the row,
// this start cannot take part: blockedBy() says where and by whom, and the caller tells the
// user instead of ending quietly.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process now owns the instance (no other runs).
    bool claim();
    // Asks the running instance to activate its window: true when this start is to end. The
    // first instance may still be starting (lock taken, socket not yet listening): the
    // connection is retried for a few seconds. When the holder of the lock goes meanwhile,
    // this process takes the instance over and the answer is false.
    bool activateRunning();
    // Runs on the first instance when a later one asks.
    void setActivateHandler(std::function<void()> handler) { m_onActivate = std::move(handler); }

    // Every name of the row for the lock (or, with claim() refused, for the socket) belongs to
    // another user: this start can neither run nor reach the running one. What blocks it.
    struct Blocked {
        bool lock = false;   // no lock can be ours; otherwise no socket can reach ours
        QString folder;
        QStringList owners;   // user names, or numbers for users without one
    };
    std::optional<Blocked> blockedBy() const;
    // activateRunning() gave up: an instance of ours holds the lock but did not answer in
    // time. The holder's process number (0 when the lock does not say).
    std::optional<qint64> unansweredBy() const;

    QString serverName() const { return m_name; }
    QString lockPath() const { return m_lockPath; }
    // Where lock and socket go for this program folder.
    static QString folderFor(const QString& programFolder);

    static constexpr int kConnectWaitMs = 5000;
    // How many names are tried before a start gives up on finding one of its own.
    static constexpr int kNameTries = 16;

private:
    // The name of the row at `index` with this ending.
    QString rowName(int index, const QString& suffix) const;
    // The first name with this ending that no other user's file holds; empty when none is left.
    QString nameAt(const QString& suffix) const;
    void pickNames();
    QStringList ownersOf(const QString& suffix) const;
    // A lock of the row, other than `except`, that a running instance of ours holds; empty
    // when none. A lock that an ended instance left is removed on the way.
    QString runningLock(const QString& except = QString()) const;

    QString m_base;
    QString m_name;
    QString m_lockPath;
    QString m_runningLock;   // where the instance that claim() found runs
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    std::function<void()> m_onActivate;
    bool m_unanswered = false;
};
