#include "platform/terminal.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace quorvane::platform {

bool stdinIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

bool stderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

std::optional<std::string> readInputLine() {
    std::string line;
    bool any = false;
    for (int c; (c = std::fgetc(stdin)) != EOF;) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (!any)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::optional<std::string> readHiddenLine() {
    termios old{};
    bool restore = ::tcgetattr(STDIN_FILENO, &old) == 0;
    if (restore) {
        termios quiet = old;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    auto line = readInputLine();
    if (restore) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
        std::fputc('\n', stderr);
    }
    return line;
}

} // namespace quorvane::platform
