#pragma once
// The column of section labels on the left of the sectioned dialogs (the preferences, the tag
// editor): each caption lies on its own 3-D panel, and a click on either reports the section's
// index. The chosen section's label is bold with the ordinary pointer, the others plain with a
// hand; the column keeps its width whichever is chosen.
#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QLabel;
class QVBoxLayout;
class QWidget;
class ctlQX_3DPanel;

class SectionSelector : public QObject {
    Q_OBJECT
public:
    // Panels and labels become children of `dialog`, named tpSectionSelector<i> and lblSection<i>.
    SectionSelector(QWidget* dialog, const QStringList& captions, std::function<void(int index)> clicked);

    // The panels top to bottom; the dialog adds what follows them and places the column.
    QVBoxLayout* column() const { return m_column; }
    ctlQX_3DPanel* panel(int index) const { return m_panels.at(size_t(index)); }
    QLabel* label(int index) const { return m_labels.at(size_t(index)); }
    int count() const { return int(m_labels.size()); }

    // "Section selected:  " and the caption without its last two characters (" »"), then ":".
    QString heading(int index) const;
    // Every label plain with the hand, then `chosen` (one of them, or none) bold with the ordinary pointer.
    void highlight(QLabel* chosen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVBoxLayout* m_column = nullptr;
    std::vector<ctlQX_3DPanel*> m_panels;
    std::vector<QLabel*> m_labels;
    std::function<void(int)> m_clicked;
};
