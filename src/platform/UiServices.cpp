#include "platform/UiServices.h"

#include "platform/SessionEnd.h"

namespace veltra {

namespace {
// Nothing installed (a tool without windows): every question gets the answer a box with
// no one to click would default to, and nothing blocks.
class UnattendedUiServices : public UiServices {
public:
    MsgResult msgBox(const QString&, MsgButtons buttons, MsgIcon, const QString&) override
    {
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel: return MsgResult::Yes;
        case MsgButtons::RetryCancel: return MsgResult::Cancel;
        case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
        default: return MsgResult::OK;
        }
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    void runModal(QObject*, QObject*) override {}
    FileDialogResult openFileDialog(const FileDialogRequest&) override { return {}; }
    FileDialogResult saveFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> browseForFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<quint32> chooseColour(quint32, const QString&) override { return std::nullopt; }
    std::optional<FontChoice> chooseFont(const FontChoice&, const QString&) override { return std::nullopt; }
    bool printDialog(const QString&, int) override { return false; }
    bool print(const QList<PrintLine>&) override { return false; }
    bool openUrl(const QString&) override { return false; }
};

// The session has ended: a box is said, not shown, and its answer is the one that goes no
// further, so nothing is removed, replaced or tried again on the way out.
class SessionEndUiServices final : public UnattendedUiServices {
public:
    std::function<void(const QString&)> report;

    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon, const QString& title) override
    {
        report(title + QStringLiteral(": ") + text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).join(u' '));
        switch (buttons) {
        case MsgButtons::OK: return MsgResult::OK;
        case MsgButtons::YesNo: return MsgResult::No;
        case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
        default: return MsgResult::Cancel;
        }
    }
};

SessionEndUiServices& sessionEnd()
{
    static SessionEndUiServices services;
    return services;
}

UiServices*& current()
{
    static UiServices* services = nullptr;
    return services;
}
} // namespace

UiServices& ui()
{
    // A session end signalled while a command worked comes before anything more it would ask.
    sessionend::runPending();
    if (sessionEnd().report) return sessionEnd();
    UiServices*& s = current();
    if (!s) {
        static UnattendedUiServices fallback;
        s = &fallback;
    }
    return *s;
}

void setUiServices(UiServices* services) { current() = services; }

void setUnattended(std::function<void(const QString& line)> report) { sessionEnd().report = std::move(report); }

} // namespace veltra
