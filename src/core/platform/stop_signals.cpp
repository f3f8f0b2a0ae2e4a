#include "platform/stop_signals.h"

#include <atomic>
#include <csignal>

namespace quorvane::platform {

namespace {
std::atomic<bool> received{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void onStopSignal(int signal) {
    if (received.exchange(true)) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}
} // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool stopSignalReceived() {
    return received.load();
}

void clearStopSignal() {
    received.store(false);
}

} // namespace quorvane::platform
