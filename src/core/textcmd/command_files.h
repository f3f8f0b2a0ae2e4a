#pragma once
// The two command files of the batch dialog in the program directory: the history of sent
// commands and the reference commands the user keeps. Both are GBK text, one command a line.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

class Settings;
class ToolLog;

inline constexpr const char* kHistoryFileName = "cmd-hist.txt";
inline constexpr const char* kReferenceFileName = "cmd-list.txt";

// The commands of a file's bytes (GBK): split at every CR and every LF, empty pieces dropped.
std::vector<std::string> commandLines(std::string_view gbkBytes);

// The commands of a file in the program directory, in file order; none when it is missing.
std::vector<std::string> readCommandFile(const Settings& settings, const char* fileName);

// The history after a run of command: the old lines that differ from it, in their order,
// and the command last.
std::vector<std::string> historyWith(const std::vector<std::string>& old,
                                     const std::string& command);

// Rewrites the history file (atomically) with command as its last line; a failure is logged.
bool rememberCommand(const Settings& settings, ToolLog* log, const std::string& command);

} // namespace quorvane
