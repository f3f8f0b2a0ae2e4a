// Launching documents and programs, and looking a process up by its executable name.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"

extern char** environ;

namespace quorvane::platform {

namespace {
bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The words that start path: a script through /bin/sh, an executable itself, anything else
// through the desktop's opener. Empty when path does not exist.
std::vector<std::string> commandFor(const std::string& path, const std::string& parameters) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return {};
    std::vector<std::string> argv;
    if (endsWith(lowered(path), ".sh")) {
        argv = {"/bin/sh", path};
    } else if (S_ISREG(st.st_mode) && isExecutableFile(path)) {
        // A relative name without a slash would be looked up on PATH by the shell's rules;
        // the program directory is meant.
        argv = {path.find('/') == std::string::npos ? "./" + path : path};
    } else {
        argv = {"xdg-open", path};
    }
    const std::vector<std::string> words = splitWords(parameters);
    argv.insert(argv.end(), words.begin(), words.end());
    return argv;
}

// Starts argv (a first word without a slash is looked up on PATH); the child's pid or -1.
pid_t spawn(std::vector<std::string> argv, const posix_spawn_file_actions_t* actions) {
    std::vector<char*> cargv(argv.size() + 1, nullptr);
    std::transform(argv.begin(), argv.end(), cargv.begin(),
                   [](std::string& a) { return a.data(); });
    pid_t pid = 0;
    int rc = argv[0].find('/') == std::string::npos
                 ? ::posix_spawnp(&pid, argv[0].c_str(), actions, nullptr, cargv.data(), environ)
                 : ::posix_spawn(&pid, argv[0].c_str(), actions, nullptr, cargv.data(), environ);
    return rc == 0 ? pid : -1;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Nobody waits for it: reap it when it ends so that it leaves no zombie (unless the program
// already ignores its children's ends).
void reapLater(pid_t pid) {
    struct sigaction sa {};
    ::sigaction(SIGCHLD, nullptr, &sa);
    if (sa.sa_handler == SIG_DFL)
        std::thread([pid] { waitFor(pid); }).detach();
}

std::string findOnPath(const std::string& program) {
    std::istringstream dirs(environment("PATH"));
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.empty())
            continue;
        std::string candidate = dir + "/" + program;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}
} // namespace

std::string terminalProgram() {
    if (environment("DISPLAY").empty() && environment("WAYLAND_DISPLAY").empty())
        return {};
    return findOnPath("x-terminal-emulator");
}

int runProgram(const std::string& /*verb*/, const std::string& path, const std::string& parameters,
               bool wait, bool show, int* exitStatus) {
    std::vector<std::string> argv = commandFor(path, parameters);
    if (argv.empty())
        return -1;
    if (show && argv[0] == "/bin/sh") {
        // Every terminal that stands in for x-terminal-emulator takes "-e program args...".
        if (std::string terminal = terminalProgram(); !terminal.empty())
            argv.insert(argv.begin(), {terminal, "-e"});
    }
    pid_t pid = spawn(argv, nullptr);
    if (pid < 0)
        return -2;
    if (wait) {
        int status = waitFor(pid);
        if (exitStatus)
            *exitStatus = status;
    } else {
        reapLater(pid);
    }
    return 0;
}

int runProgramLogged(const std::string& path, const std::string& outputFile) {
    std::vector<std::string> argv = commandFor(path, {});
    if (argv.empty())
        return -1;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(),
                                       O_WRONLY | O_CREAT | O_APPEND, 0600);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = spawn(argv, &actions);
    ::posix_spawn_file_actions_destroy(&actions);
    if (pid < 0)
        return -2;
    reapLater(pid);
    return 0;
}

bool processRunsProgram(int pid, const std::string& program) {
    if (pid <= 0)
        return false;
    const std::string exe = "/proc/" + std::to_string(pid) + "/exe";
    struct stat running {
    }, file{};
    if (::stat(exe.c_str(), &running) == 0 && ::stat(program.c_str(), &file) == 0 &&
        running.st_dev == file.st_dev && running.st_ino == file.st_ino)
        return true;
    // A program file replaced since the process started (an update): the kernel names the old
    // file with a mark.
    char target[4096];
    ssize_t n = ::readlink(exe.c_str(), target, sizeof target - 1);
    char resolved[PATH_MAX];
    if (n <= 0 || !::realpath(program.c_str(), resolved))
        return false;
    std::string was(target, static_cast<std::size_t>(n));
    return endsWith(was, " (deleted)") && was.substr(0, was.size() - 10) == resolved;
}

bool anyProcessRunsProgram(const std::string& program) {
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    bool found = false;
    while (dirent* e = ::readdir(proc)) {
        if (std::isdigit(static_cast<unsigned char>(e->d_name[0])) &&
            processRunsProgram(std::atoi(e->d_name), program)) {
            found = true;
            break;
        }
    }
    ::closedir(proc);
    return found;
}

} // namespace quorvane::platform
