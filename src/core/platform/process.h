#pragma once
#include <string>

namespace quorvane::platform {
int processId();
// The kernel's id of the calling thread.
int threadId();
// True while a process with this id exists (a background helper named by its pid file).
bool processAlive(int pid);

// Launches a document or program: a document (or folder) opens with the desktop's default
// program (xdg-open), an executable file or a ".sh" script starts directly (scripts through
// /bin/sh). A script shown (show) runs in a terminal window when terminalProgram() names one,
// as a console script shows its console. With wait, returns when the launched process ends and
// stores its exit status in exitStatus when given (-1 when a signal ended it). 0 after
// launching, -1 when the file does not exist, -2 when it could not be started.
int runProgram(const std::string& verb, const std::string& path, const std::string& parameters,
               bool wait, bool show, int* exitStatus = nullptr);
// Starts a ".sh" script or an executable without waiting, its standard output and error
// appended to outputFile and its standard input empty. The same results as runProgram.
int runProgramLogged(const std::string& path, const std::string& outputFile);
// The desktop's terminal program ("x-terminal-emulator" found on PATH) when a display is there
// to show it (DISPLAY or WAYLAND_DISPLAY set); empty otherwise.
std::string terminalProgram();
// True when process pid runs the executable file program (the same file, reached through
// links as well, or the file that stood there when it started and was replaced since).
bool processRunsProgram(int pid, const std::string& program);
// True when any process runs the executable file program.
bool anyProcessRunsProgram(const std::string& program);
} // namespace quorvane::platform
