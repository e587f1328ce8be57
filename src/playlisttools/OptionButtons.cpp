#include "playlisttools/OptionButtons.h"

#include "common/modSettings.h"
#include "common/modVB.h"

#include <QButtonGroup>
#include <QRadioButton>

OptionButtons::OptionButtons(QObject* parent) : QObject(parent), m_group(new QButtonGroup(this))
{
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (m_handler) m_handler(id);
    });
}

QRadioButton* OptionButtons::add(QRadioButton* button)
{
    // The group, not each button's parent, keeps the buttons exclusive: they may sit in
    // different panels.
    button->setAutoExclusive(false);
    m_group->addButton(button, count());
    return button;
}

QRadioButton* OptionButtons::at(int index) const { return qobject_cast<QRadioButton*>(m_group->button(index)); }

int OptionButtons::count() const { return int(m_group->buttons().size()); }

int OptionButtons::selected() const { return m_group->checkedId(); }

void OptionButtons::select(int index)
{
    QRadioButton* b = at(index);
    if (!b) return;
    b->setChecked(true);
    if (m_handler) m_handler(index);
}

void OptionButtons::clear(int index)
{
    QRadioButton* b = at(index);
    if (!b || !b->isChecked()) return;
    // An exclusive group keeps its checked button; it lets go of it only while not exclusive.
    m_group->setExclusive(false);
    b->setChecked(false);
    m_group->setExclusive(true);
}

void OptionButtons::clearAll()
{
    for (int i = 0; i < count(); ++i) clear(i);
}

void OptionButtons::setEnabled(bool on)
{
    for (QAbstractButton* b : m_group->buttons()) b->setEnabled(on);
}

void OptionButtons::restore(const QString& section, const QStringList& keys, const QStringList& defaults)
{
    for (int i = 0; i < keys.size() && i < count(); ++i) {
        const QString value = settings_ReadValue(section, keys[i], defaults.value(i, QStringLiteral("0")));
        if (vb::Val(value) != 0) select(i);
        else clear(i);
    }
}

void OptionButtons::store(const QString& section, const QStringList& keys) const
{
    for (int i = 0; i < keys.size(); ++i)
        settings_WriteValue(section, keys[i], isSelected(i) ? QStringLiteral("-1") : QStringLiteral("0"));
}
