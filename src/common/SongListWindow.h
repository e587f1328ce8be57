#pragma once
// The frame and command set shared by the per-song list windows (stored volumes, play
// counts): a heading, the list of Artist, Title, a value and Filename, a switch, an
// "Options " label whose popup holds Show Headers, Remove Selected, Remove Dead Filenames and
// Clear, and Clear and Hide buttons. The window sees keys before its controls: Delete runs
// Remove Selected while that item is enabled, F1 shows or hides the column headers, the
// context-menu key and a right click in the list open the popup. A 50 ms timer enables the
// commands by the list's rows. The rows are the authority; they are saved whole to the
// window's list file in the program folder after every change that is kept.
//
// The windows are resident: closing one only hides it.
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class ListView;
class ListViewModel;
class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class ctlQX_3DPanel;

class SongListWindow : public QWidget {
    Q_OBJECT
public:
    struct Setup {
        QString caption;         // "Adjust Volumes": the switch adds " - [Enabled]" or " - [Disabled]"
        QString heading;         // the heading's design text
        QString valueHeader;     // the third column's header
        QString switchCaption;
        QString switchKey;       // [Settings] key of the switch
        QString headersKey;      // [Settings] key of Show Headers
        QString listFile;        // file name in the program folder
        QString clearCaption;
        QString clearTitle;      // the clear question
        QString clearText;
    };
    explicit SongListWindow(const Setup& setup);

    ctlQX_3DPanel* qxpTop;
    QLabel* lblText;
    ListView* lstvItems;
    ctlQX_3DPanel* qxpOptions;
    QLabel* lblOptions;
    QPushButton* cmdClear;
    QPushButton* cmdHide;
    QTimer* tmrWindowUpdate;
    QAction* mnuShowHeaders;
    QMenu* mnuList;
    QAction* mnuRemoveSelected;
    QAction* mnuRemoveDeadFilenames;
    QAction* mnuClear;

    ListViewModel& rows() const;
    // The switch counts as on only when it is ticked (not grey).
    bool switchOn() const;
    // The switch as a check box value: 0 clear, 1 ticked, 2 grey.
    int switchValue() const;
    void setSwitchValue(int value);
    QString listPath() const;

    void mnuShowHeaders_Click();
    void mnuRemoveSelected_Click();
    void mnuRemoveDeadFilenames_Click();
    void cmdClear_Click();
    void mnuClear_Click() { cmdClear_Click(); }
    void cmdHide_Click();
    virtual void tmrWindowUpdate_Timer();
    // Buttons 1 left, 2 right.
    void lblOptions_MouseDown(int button);
    void lstvItems_MouseDown(int button, const QPoint& viewportPos);
    // Keys the window sees before its controls (classic key codes or Qt's); true when taken.
    bool Form_KeyDown(int keyCode, int shift);
    // Mode 0, the user's close: the window hides instead; true when the unload was cancelled.
    bool Form_QueryUnload(int unloadMode);

protected:
    // The common first steps of loading: Filename column width, flat headers, the rows of
    // the list file.
    void loadRows();
    // Points the first row naming oldName at newName and saves the list (also when none did).
    void updateFilename(const QString& oldName, const QString& newName);
    // Writes the rows to the list file (none: the file goes).
    void saveRows();
    // The switch from its setting, then its click handler.
    void loadSwitch(const QString& defaultValue);
    // Caption and setting of the switch's state.
    void applySwitch();
    // What the switch and the timer enable or disable.
    void setCommandsEnabled(const QList<QObject*>& commands, bool enabled);
    // The popup of the "Options " label, the list's right click and the context-menu key.
    QMenu* optionsPopup() const { return m_options; }
    QCheckBox* switchBox() const { return m_switch; }
    // A framed panel holding one label that opens a popup when pressed (seen by eventFilter).
    ctlQX_3DPanel* labelPanel(const char* panelName, const char* labelName, const QString& caption, QLabel** label);
    // Where the windows add their own panels (after the options panel) and buttons (before Hide).
    void addPanel(QWidget* panel);
    void addButton(QPushButton* button);
    // Popup place: just below a panel, at its left edge.
    void popupBelow(QMenu* menu, QWidget* panel);

    // The rows changed by a common command.
    virtual void rowsChanged() {}
    // The commands the timer enables while the list has rows (switch on).
    virtual QList<QObject*> rowCommands() const = 0;
    virtual void switchClicked() = 0;
    // The button Enter presses.
    virtual QPushButton* defaultButton() const = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Setup m_setup;
    QCheckBox* m_switch;
    QMenu* m_options;
    QHBoxLayout* m_panels;
    QHBoxLayout* m_buttons;
    // The list file was there but could not be read: it is left alone for the whole run.
    bool m_fileUnreadable = false;
    bool m_placed = false;
};
