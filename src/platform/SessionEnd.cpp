#include "platform/SessionEnd.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
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

// Takes one signal's byte; false when none is waiting (the reading end never blocks).
bool takeSignal()
{
    char c;
    return g_fds[1] >= 0 && ::read(g_fds[1], &c, 1) == 1;
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

void runPending()
{
    if (takeSignal()) run();
}

void install(std::function<void()> h)
{
    setHandler(std::move(h));
    if (g_fds[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_fds) != 0) return;
    ::fcntl(g_fds[1], F_SETFL, ::fcntl(g_fds[1], F_GETFL) | O_NONBLOCK);
    auto* notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] { runPending(); });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

} // namespace sessionend
