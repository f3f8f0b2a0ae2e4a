#pragma once
namespace quorvane::platform {
int processId();
// The kernel's id of the calling thread.
int threadId();
} // namespace quorvane::platform
