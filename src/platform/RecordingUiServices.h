#pragma once
// UiServices that never block: every call is recorded, answers come from scripts queued
// by the caller (tests), or are the default (OK / Yes when asked... see each member).
#include "platform/UiServices.h"

#include <QList>
#include <deque>

namespace veltra {

struct RecordedCall {
    QString kind;        // "msgBox", "inputBox", "modal", "open", "save", "folder", "colour", "font", "printDialog", "print", "url"
    QString title;
    QString text;
    int icon = 0;
    int buttons = 0;
    QObject* form = nullptr;
    FileDialogRequest fileRequest;
};

class RecordingUiServices : public UiServices {
public:
    QList<RecordedCall> calls;

    std::deque<MsgResult> msgAnswers;                     // default: OK for OK boxes, Yes for questions
    std::deque<std::optional<QString>> inputAnswers;      // default: cancelled
    std::deque<std::function<void(QObject*)>> modalHandlers; // default: returns at once
    std::deque<FileDialogResult> fileAnswers;             // default: cancelled
    std::deque<std::optional<QString>> folderAnswers;     // default: cancelled
    std::deque<std::optional<quint32>> colourAnswers;
    std::deque<std::optional<FontChoice>> fontAnswers;
    std::deque<bool> printAnswers;                        // default: cancelled
    QList<QList<PrintLine>> printed;
    QStringList openedUrls;

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

    // The message boxes shown so far.
    QList<RecordedCall> messages() const;
    int count(const QString& kind) const;
    void clear();
};

} // namespace veltra
