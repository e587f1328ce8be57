#pragma once
// What the library's file dialogs (rename, move, tag editors) have in common: Esc and the
// close box run the dialog's own Close command, and do nothing while a run goes; the focus
// colours of their text boxes and the hourglass of a run are BusyDialog's.
#include "common/BusyDialog.h"
#include "startup/Forms.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class OrganiseDialog : public BusyDialog {
    Q_OBJECT
public:
    // True while a run over the playlist goes.
    bool Running() const { return isBusy(); }

    virtual void cmdClose_Click() = 0;

protected:
    OrganiseDialog(const QString& objectName, const QString& title);

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

    // A song whose ID3v1 tag was written and whose ID3v2 tag then could not be: its playlist
    // row is re-read, and the log and a message (under `title`) say which tag changed,
    // never that the file was left untouched. `refusal` is the tag's own reason when the save
    // was refused because the tag would lose a frame; empty for a failed write.
    static void reportID3v1Only(const QString& path, int row, const QString& title, const QString& refusal = QString());

    // Marks the run and shows the hourglass for as long as the object lives; each dialog
    // enables and disables its own controls.
    class RunGuard : public Busy {
    public:
        explicit RunGuard(OrganiseDialog& dialog) : Busy(dialog, Inputs::Kept) {}
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
};
