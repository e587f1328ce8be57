#include "platform/RecordingUiServices.h"

// GCC 12 reports std::optional<QString> copies as maybe-uninitialized (a known false positive).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace veltra {

template <class T>
static T takeOr(std::deque<T>& q, const T& fallback)
{
    if (q.empty()) return fallback;
    T v = q.front();
    q.pop_front();
    return v;
}

MsgResult RecordingUiServices::msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    RecordedCall c;
    c.kind = QStringLiteral("msgBox");
    c.title = title;
    c.text = text;
    c.icon = int(icon);
    c.buttons = int(buttons);
    calls.append(c);
    MsgResult def = MsgResult::OK;
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: def = MsgResult::Yes; break;
    case MsgButtons::RetryCancel: def = MsgResult::Cancel; break;
    case MsgButtons::AbortRetryIgnore: def = MsgResult::Abort; break;
    default: break;
    }
    return takeOr(msgAnswers, def);
}

std::optional<QString> RecordingUiServices::inputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    RecordedCall c;
    c.kind = QStringLiteral("inputBox");
    c.title = title;
    c.text = prompt + QStringLiteral("|") + defaultText;
    calls.append(c);
    return takeOr(inputAnswers, std::optional<QString>());
}

void RecordingUiServices::runModal(QObject* form, QObject*)
{
    RecordedCall c;
    c.kind = QStringLiteral("modal");
    c.form = form;
    c.title = form ? form->objectName() : QString();
    calls.append(c);
    if (!modalHandlers.empty()) {
        auto h = std::move(modalHandlers.front());
        modalHandlers.pop_front();
        if (h) h(form);
    }
}

FileDialogResult RecordingUiServices::openFileDialog(const FileDialogRequest& request)
{
    RecordedCall c;
    c.kind = QStringLiteral("open");
    c.title = request.title;
    c.fileRequest = request;
    calls.append(c);
    return takeOr(fileAnswers, FileDialogResult{});
}

FileDialogResult RecordingUiServices::saveFileDialog(const FileDialogRequest& request)
{
    RecordedCall c;
    c.kind = QStringLiteral("save");
    c.title = request.title;
    c.fileRequest = request;
    calls.append(c);
    return takeOr(fileAnswers, FileDialogResult{});
}

std::optional<QString> RecordingUiServices::browseForFolder(const QString& title, const QString& startFolder)
{
    RecordedCall c;
    c.kind = QStringLiteral("folder");
    c.title = title;
    c.text = startFolder;
    calls.append(c);
    return takeOr(folderAnswers, std::optional<QString>());
}

std::optional<quint32> RecordingUiServices::chooseColour(quint32 initial, const QString& title)
{
    RecordedCall c;
    c.kind = QStringLiteral("colour");
    c.title = title;
    c.text = QString::number(initial);
    calls.append(c);
    return takeOr(colourAnswers, std::optional<quint32>());
}

std::optional<FontChoice> RecordingUiServices::chooseFont(const FontChoice& initial, const QString& title)
{
    RecordedCall c;
    c.kind = QStringLiteral("font");
    c.title = title;
    c.text = initial.name;
    calls.append(c);
    return takeOr(fontAnswers, std::optional<FontChoice>());
}

bool RecordingUiServices::printDialog(const QString& title, int flags)
{
    RecordedCall c;
    c.kind = QStringLiteral("printDialog");
    c.title = title;
    c.buttons = flags;
    calls.append(c);
    return takeOr(printAnswers, false);
}

bool RecordingUiServices::print(const QList<PrintLine>& lines)
{
    RecordedCall c;
    c.kind = QStringLiteral("print");
    calls.append(c);
    printed.append(lines);
    return true;
}

bool RecordingUiServices::openUrl(const QString& url)
{
    RecordedCall c;
    c.kind = QStringLiteral("url");
    c.text = url;
    calls.append(c);
    openedUrls.append(url);
    return true;
}

QList<RecordedCall> RecordingUiServices::messages() const
{
    QList<RecordedCall> out;
    for (const auto& c : calls)
        if (c.kind == QLatin1String("msgBox")) out.append(c);
    return out;
}

int RecordingUiServices::count(const QString& kind) const
{
    int n = 0;
    for (const auto& c : calls)
        if (c.kind == kind) ++n;
    return n;
}

void RecordingUiServices::clear()
{
    calls.clear();
    printed.clear();
    openedUrls.clear();
}

} // namespace veltra
