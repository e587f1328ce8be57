#pragma once
// What the library's file dialogs (rename, move, tag editors) have in common: Esc and the
// close box run the dialog's own Close command, and do nothing while a run goes; text boxes
// select their text and turn lavender while they have the focus; the hourglass for the
// length of a run.
#include "startup/Forms.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class OrganiseDialog : public QDialog {
    Q_OBJECT
public:
    // True while a run over the playlist goes.
    bool Running() const { return m_running; }

    virtual void cmdClose_Click() = 0;

protected:
    OrganiseDialog(const QString& objectName, const QString& title);

    // Whole text selected and background &HFAE6E6 on focus, white again after.
    void highlightOnFocus(QLineEdit* box);
    void highlightOnFocus(QPlainTextEdit* box);
    // A length limit on typing and pasting only: a longer text set by code shows whole, can
    // be shortened, and refuses what would make it longer still.
    static void limitTyping(QLineEdit* box, int maxLength);

    // Controls the dialogs share: the default button (Enter) and "&Close" (Esc), the
    // pattern list on its first pattern, a label that only holds a tag text, the progress
    // bar hidden until the first run.
    QPushButton* defaultButton(const QString& caption);
    QPushButton* closeButton();
    QComboBox* patternList();
    QLabel* hiddenLabel();
    QProgressBar* progressBar();
    // Object names for finding the controls (tests, style sheets).
    void nameControls(std::initializer_list<std::pair<QWidget*, const char*>> controls);

    // Runs the main window's Save when the box is ticked and a named playlist is current.
    static void savePlaylistIf(bool ticked);

    // Marks the run and shows the hourglass for as long as the object lives.
    class RunGuard {
    public:
        explicit RunGuard(OrganiseDialog& dialog);
        ~RunGuard();
        RunGuard(const RunGuard&) = delete;
        RunGuard& operator=(const RunGuard&) = delete;

    private:
        OrganiseDialog& m_dialog;
    };

    // Closes the dialog and drops the form F when this is its loaded instance.
    template <class F>
    void unloadForm()
    {
        done(Rejected);
        if (forms().isLoaded<F>() && &forms().get<F>() == this) forms().unloadLater<F>();
    }

    // Esc, and the close box through it.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_running = false;
};
