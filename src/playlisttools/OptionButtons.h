#pragma once
// A group of option buttons in which at most one is selected, and possibly none (a stored
// choice of all "0", or a search that clears them while it runs). Selecting a button from
// code counts as a click on it, as the user's click does; clearing one does not. The tool
// dialogs keep such a group in their own section of settings.ini, one key per button,
// "-1" for the selected one and "0" for the others.
#include <QObject>
#include <QStringList>

#include <functional>

class QButtonGroup;
class QRadioButton;

class OptionButtons : public QObject {
    Q_OBJECT
public:
    explicit OptionButtons(QObject* parent = nullptr);

    // Appends a button; its index is the number of buttons before it.
    QRadioButton* add(QRadioButton* button);
    QRadioButton* at(int index) const;
    int count() const;
    // The selected button's index; -1 when none is.
    int selected() const;
    bool isSelected(int index) const { return selected() == index && index >= 0; }

    // Runs with the index of a button clicked by the user or selected from code.
    void onClick(std::function<void(int)> handler) { m_handler = std::move(handler); }
    void select(int index);
    void clear(int index);
    void clearAll();
    void setEnabled(bool on);

    // Each key in turn: a value that reads as a non-zero number selects its button (so the
    // last such key wins), any other value clears that button only. `defaults` stand for
    // missing keys.
    void restore(const QString& section, const QStringList& keys, const QStringList& defaults);
    void store(const QString& section, const QStringList& keys) const;

private:
    QButtonGroup* m_group;
    std::function<void(int)> m_handler;
};
