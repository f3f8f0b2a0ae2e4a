#pragma once
#include <string>

namespace quorvane::platform {
int processId();
// The kernel's id of the calling thread.
int threadId();

// Launches a document or program: a document (or folder) opens with the desktop's default
// program (xdg-open), an executable file or a ".sh" script starts directly (scripts through
// /bin/sh). With wait, returns when the launched process ends. 0 after launching, -1 when the
// file does not exist, -2 when it could not be started.
int runProgram(const std::string& verb, const std::string& path, const std::string& parameters,
               bool wait, bool show);
// True when a process runs whose executable name equals name, ignoring letter case and a
// trailing ".exe" on either side.
bool isProcessRunning(const std::string& name);
} // namespace quorvane::platform
