#pragma once
// SIGTERM (and the end of the desktop session, wired by the caller) run one handler on the
// user-interface thread. A second signal while the handler runs does not cut it short.
#include <functional>

namespace sessionend {

void install(std::function<void()> handler);
void setHandler(std::function<void()> handler);
void run();   // runs the handler once; later calls while it runs do nothing
// Runs the handler now when a signal came that the event loop has not seen yet: called
// before the program would wait on the user, so that no window comes up after the signal.
void runPending();

} // namespace sessionend
