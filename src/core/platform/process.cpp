#include "platform/process.h"

#include <unistd.h>

namespace quorvane::platform {

int processId() {
    return static_cast<int>(::getpid());
}

int threadId() {
    return static_cast<int>(::gettid());
}

} // namespace quorvane::platform
