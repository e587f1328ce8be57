#pragma once
// Everything that blocks on the user goes through here: message boxes, input boxes,
// modal windows, file/folder/colour/font/print dialogs, opening addresses.
// Production code uses QtUiServices; tests install RecordingUiServices.
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace veltra {

enum class MsgIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class MsgButtons { OK = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FileDialogRequest {
    QString title;
    QString initialDir;
    QString fileName;
    QString filter;          // "Name|*.ext|Other|*.*" as the common dialog takes it
    int filterIndex = 1;     // 1-based
    int flags = 0;
    QString defaultExt;
    bool multiSelect = false;
};

struct FileDialogResult {
    bool cancelled = true;
    QStringList files;       // absolute paths
    int filterIndex = 1;     // the filter chosen, 1-based
};

struct FontChoice {
    QString name;
    double size = 8;
    bool bold = false;
    bool italic = false;
};

// One print job: lines of text with the font size they are printed in.
struct PrintLine {
    QString text;
    double fontSize = 10;
    bool bold = false;
    QString fontName;        // empty: the printer's default font
};

class UiServices {
public:
    virtual ~UiServices() = default;

    virtual MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) = 0;
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;

    // Runs `form` (a QWidget) modally over `owner` and returns when it is closed.
    virtual void runModal(QObject* form, QObject* owner) = 0;

    virtual FileDialogResult openFileDialog(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> browseForFolder(const QString& title, const QString& startFolder) = 0;
    // The pickers; a cancel gives nothing. An empty title leaves the picker's own.
    virtual std::optional<quint32> chooseColour(quint32 initial, const QString& title = QString()) = 0;   // 0x00BBGGRR
    virtual std::optional<FontChoice> chooseFont(const FontChoice& initial, const QString& title = QString()) = 0;

    // The printer dialog: false when cancelled.
    virtual bool printDialog(const QString& title, int flags) = 0;
    // Prints on the printer chosen last; errors are the caller's to ignore.
    virtual bool print(const QList<PrintLine>& lines) = 0;

    virtual bool openUrl(const QString& url) = 0;
};

// The services in use; never null once the program or a test has installed one.
UiServices& ui();
void setUiServices(UiServices* services);   // not owned

// From the end of the session on nobody answers: each box is told to `report` as one line
// (its title and text) and gets the answer that goes no further; dialogs and pickers come
// back cancelled and modal windows do not run. An empty function lets boxes ask again.
void setUnattended(std::function<void(const QString& line)> report);

// Convenience: the two-line message box style of the program's own boxes.
inline MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    return ui().msgBox(text, buttons, icon, title);
}

} // namespace veltra
