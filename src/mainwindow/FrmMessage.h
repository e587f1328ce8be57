#pragma once
// The "please wait" window shown while folders are read: borderless, above every other
// window, not modal. Its two labels say where files are read from and what is being done.
// It has no code of its own beyond showing itself at once; callers load it through
// forms(), set the labels and unload it when the work is done (WaitWindow does both).
#include <QPointer>
#include <QWidget>

class QLabel;

class FrmMessage : public QWidget {
    Q_OBJECT
public:
    FrmMessage();

    QLabel* lblLocation = nullptr;   // design text "Reading from:"
    QLabel* lblText = nullptr;       // design text "Reading each songs ID3 Tag, please wait..."

    // Shows the window on top without taking the focus, centred on the screen, and paints it
    // before the caller's work begins.
    void showWaiting();
    // Sets a label and paints it at once (the caller's loop may not let events run for a while).
    void setText(QLabel* label, const QString& text);
};

// The wait window for the length of a piece of work: loaded and shown with its two texts,
// unloaded however the work ends.
class WaitWindow {
public:
    WaitWindow(const QString& location, const QString& text);
    ~WaitWindow();
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

    void setText(const QString& text);
};

// A window's painting held back while its lists are filled, restored however the work ends.
class PaintingFrozen {
public:
    explicit PaintingFrozen(QWidget* window);
    ~PaintingFrozen();
    PaintingFrozen(const PaintingFrozen&) = delete;
    PaintingFrozen& operator=(const PaintingFrozen&) = delete;

private:
    QPointer<QWidget> m_window;
    bool m_wasEnabled;
};
