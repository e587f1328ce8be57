#include "platform/UiServices.h"

namespace veltra {

namespace {
// Nothing installed (a tool without windows): every question gets the answer a box with
// no one to click would default to, and nothing blocks.
class UnattendedUiServices final : public UiServices {
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

UiServices*& current()
{
    static UiServices* services = nullptr;
    return services;
}
} // namespace

UiServices& ui()
{
    UiServices*& s = current();
    if (!s) {
        static UnattendedUiServices fallback;
        s = &fallback;
    }
    return *s;
}

void setUiServices(UiServices* services) { current() = services; }

} // namespace veltra
