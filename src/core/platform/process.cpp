#include "platform/process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace quorvane::platform {

int processId() {
    return static_cast<int>(::getpid());
}

int threadId() {
    return static_cast<int>(::gettid());
}

bool processAlive(int pid) {
    if (pid <= 0)
        return false;
    // A child of ours that ended is collected here, or it would stay a zombie that still
    // answers the signal check below.
    ::waitpid(pid, nullptr, WNOHANG);
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace quorvane::platform
