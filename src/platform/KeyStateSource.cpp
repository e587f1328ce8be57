#include "platform/KeyStateSource.h"

#include "platform/X11KeyStateSource.h"

namespace keystate {

namespace {
std::shared_ptr<KeyStateSource>& installed()
{
    static std::shared_ptr<KeyStateSource> source;
    return source;
}
} // namespace

std::shared_ptr<KeyStateSource> create()
{
    if (installed()) return installed();
    auto x11 = std::make_shared<X11KeyStateSource>();
    if (x11->isOpen()) return x11;
    return std::make_shared<NullKeyStateSource>();
}

void setTestSource(std::shared_ptr<KeyStateSource> source) { installed() = std::move(source); }

std::shared_ptr<KeyStateSource> testSource() { return installed(); }

} // namespace keystate
