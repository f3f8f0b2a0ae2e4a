#pragma once
// The controlling terminal, for the command line's questions and password prompt.
#include <optional>
#include <string>

namespace quorvane::platform {

bool stdinIsTerminal();
bool stderrIsTerminal();
// One line from standard input without its line end; nothing at end of input.
std::optional<std::string> readInputLine();
// The same with the terminal's echo switched off (a password).
std::optional<std::string> readHiddenLine();

} // namespace quorvane::platform
