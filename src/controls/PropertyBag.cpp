#include "controls/PropertyBag.h"

int PropertyBag::indexOf(const QString& key) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).key == key) return i;
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString& key, const QVariant& defaultValue)
{
    m_readLog.append(key);
    const int i = indexOf(key);
    return i < 0 ? defaultValue : m_entries.at(i).value;
}

void PropertyBag::WriteProperty(const QString& key, const QVariant& value,
                                const QVariant& defaultValue)
{
    const int i = indexOf(key);
    if (i < 0) {
        m_entries.append({key, value, defaultValue});
    } else {
        m_entries[i].value = value;
        m_entries[i].defaultValue = defaultValue;
    }
}

bool PropertyBag::contains(const QString& key) const { return indexOf(key) >= 0; }

QStringList PropertyBag::keys() const
{
    QStringList out;
    out.reserve(m_entries.size());
    for (const Entry& e : m_entries) out.append(e.key);
    return out;
}

void PropertyBag::clear()
{
    m_entries.clear();
    m_readLog.clear();
}
