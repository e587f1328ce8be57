#pragma once
// Design-time state of a skinned control as its host keeps it: values stored under keys.
// A control reads each key once, with a default for a key that is missing, and writes
// the same keys, each with the same default, in a fixed order. The bag keeps the order of
// the writes and remembers the default given with each, so a host can leave defaults out
// when it saves the bag.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class PropertyBag {
public:
    struct Entry {
        QString key;
        QVariant value;
        QVariant defaultValue;
    };

    // The stored value of `key`, or `defaultValue` when the key was never written.
    QVariant ReadProperty(const QString& key, const QVariant& defaultValue = QVariant());
    // Stores `value` under `key`; a key written again keeps its first position.
    void WriteProperty(const QString& key, const QVariant& value,
                       const QVariant& defaultValue = QVariant());

    bool contains(const QString& key) const;
    // The written entries, in the order of their first write.
    const QList<Entry>& entries() const { return m_entries; }
    QStringList keys() const;
    // Every key asked for by ReadProperty, in order (hosts and tests use it to see what a
    // control reads).
    const QStringList& readLog() const { return m_readLog; }
    void clear();

private:
    int indexOf(const QString& key) const;

    QList<Entry> m_entries;
    QStringList m_readLog;
};
