#include "common/SectionSelector.h"

#include "controls/ctlQX_3DPanel.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

SectionSelector::SectionSelector(QWidget* dialog, const QStringList& captions, std::function<void(int)> clicked)
    : QObject(dialog), m_clicked(std::move(clicked))
{
    m_column = new QVBoxLayout;
    m_column->setSpacing(3);
    for (int i = 0; i < captions.size(); ++i) {
        auto* panel = new ctlQX_3DPanel(dialog);
        panel->setObjectName(QStringLiteral("tpSectionSelector%1").arg(i));
        auto* label = new QLabel(captions[i], panel);
        label->setObjectName(QStringLiteral("lblSection%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        auto* inner = new QHBoxLayout(panel);
        inner->setContentsMargins(8, 4, 8, 4);
        inner->addWidget(label);
        panel->setFixedHeight(label->sizeHint().height() + 10);
        connect(panel, &ctlQX_3DPanel::Click, this, [this, i] {
            if (m_clicked) m_clicked(i);
        });
        m_panels.push_back(panel);
        m_labels.push_back(label);
        m_column->addWidget(panel);
    }
    QFont bold = dialog->font();
    bold.setBold(true);
    int widest = 0;
    for (QLabel* label : m_labels) widest = std::max(widest, QFontMetrics(bold).horizontalAdvance(label->text()));
    for (ctlQX_3DPanel* panel : m_panels) panel->setFixedWidth(widest + 24);
}

QString SectionSelector::heading(int index) const
{
    const QString caption = label(index)->text();
    return QStringLiteral("Section selected:  ") + caption.left(caption.size() - 2) + u':';
}

void SectionSelector::highlight(QLabel* chosen)
{
    for (QLabel* label : m_labels) {
        QFont f = label->font();
        f.setBold(label == chosen);
        label->setFont(f);
        if (label == chosen) label->unsetCursor();
        else label->setCursor(Qt::PointingHandCursor);
    }
}

bool SectionSelector::eventFilter(QObject* watched, QEvent* event)
{
    // A label takes the press, so that the release (the click) comes back to it.
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const auto it = std::find(m_labels.begin(), m_labels.end(), watched);
    if (it == m_labels.end() || mouse->button() != Qt::LeftButton) return false;
    if (event->type() == QEvent::MouseButtonRelease && (*it)->rect().contains(mouse->position().toPoint()) && m_clicked)
        m_clicked(int(it - m_labels.begin()));
    return true;
}
