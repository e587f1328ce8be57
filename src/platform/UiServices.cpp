#include "platform/UiServices.h"

#include "platform/RecordingUiServices.h"

namespace veltra {

namespace {
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
        // Nothing installed (a tool or benchmark without windows): answer everything with
        // its default rather than block.
        static RecordingUiServices fallback;
        s = &fallback;
    }
    return *s;
}

void setUiServices(UiServices* services) { current() = services; }

} // namespace veltra
