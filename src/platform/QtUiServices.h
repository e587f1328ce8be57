#pragma once
// The desktop's own dialogs behind UiServices.
#include "platform/UiServices.h"

#include <memory>

class QPrinter;

namespace veltra {

class QtUiServices : public UiServices {
public:
    QtUiServices();
    ~QtUiServices() override;

    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    void runModal(QObject* form, QObject* owner) override;
    FileDialogResult openFileDialog(const FileDialogRequest& request) override;
    FileDialogResult saveFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> browseForFolder(const QString& title, const QString& startFolder) override;
    std::optional<quint32> chooseColour(quint32 initial, const QString& title = QString()) override;
    std::optional<FontChoice> chooseFont(const FontChoice& initial, const QString& title = QString()) override;
    bool printDialog(const QString& title, int flags) override;
    bool print(const QList<PrintLine>& lines) override;
    bool openUrl(const QString& url) override;

    // "Name|*.a;*.b|All|*.*|" -> "Name (*.a *.b);;All (*)": "*.*" takes names without a dot
    // too. With anyLetterCase (open dialogs) the patterns match names in any letter case:
    // "*.[aA]", so "song.MP3" is offered for "*.mp3". The dialogs show the names alone.
    static QString qtFilter(const QString& filter, QStringList* names = nullptr, bool anyLetterCase = false);

    // The printer print() uses: the one the print dialog set up last.
    QPrinter& printer();

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace veltra
