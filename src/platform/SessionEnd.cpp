#include "platform/SessionEnd.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace sessionend {

namespace {
int g_fds[2] = {-1, -1};
std::function<void()>& handler()
{
    static std::function<void()> h;
    return h;
}
bool g_running = false;
bool g_done = false;

void onSignal(int)
{
    const char c = 1;
    if (g_fds[0] >= 0) {
        [[maybe_unused]] ssize_t n = ::write(g_fds[0], &c, 1);
    }
}
} // namespace

void setHandler(std::function<void()> h) { handler() = std::move(h); }

void run()
{
    if (g_running || g_done) return;
    g_running = true;
    if (handler()) handler()();
    g_running = false;
    g_done = true;
}

void install(std::function<void()> h)
{
    setHandler(std::move(h));
    if (g_fds[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_fds) != 0) return;
    auto* notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char c;
        [[maybe_unused]] ssize_t n = ::read(g_fds[1], &c, 1);
        run();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

} // namespace sessionend
