#pragma once
// What every quorvane-cli command gets: the program directory and its settings, the person's
// port (terminal or --yes), and the output streams. Commands return the exit code.
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "infra/settings.h"
#include "session/user_port.h"

namespace quorvane::cli {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2, kAnsweredNo = 3, kGateRefused = 4 };

struct CliContext {
    std::string home;
    std::unique_ptr<Settings> settings;
    UserPort* port = nullptr;
    bool yes = false;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    // The directory quorvane-cli was started in; commands run with the program directory as
    // the current directory, so a file named on the command line resolves against this.
    std::string callerDir;
};

// A file named on the command line: absolute names unchanged, others below ctx.callerDir.
std::string callerPath(const CliContext& ctx, const std::string& name);

using Args = std::vector<std::string>;

struct CliCommand {
    std::string_view name;                     // first word, e.g. "decode"
    std::string_view sub;                      // second word, or empty when the command has none
    bool offline;                              // offline commands need no password and no network
    int (*run)(CliContext&, const Args& args); // args: the words after name (and sub)
    std::string_view usage;
};

std::span<const CliCommand> cliCommands();

// Runs quorvane-cli with the given arguments (without the program name).
int runCli(const Args& args, std::ostream& out, std::ostream& err);
// The same over another command table (tests run the common rules with commands of their own).
int runCliWith(std::span<const CliCommand> commands, const Args& args, std::ostream& out,
               std::ostream& err);

// Small helpers for option parsing: the value after `flag` (also its long/short alias).
bool hasFlag(const Args& args, std::string_view flag);
const std::string* flagValue(const Args& args, std::string_view flag);
// Every value of a repeatable option (`--to IP --to IP`), in order.
std::vector<std::string> flagValues(const Args& args, std::string_view flag);
// The words that are not options or option values; valueFlags lists options that take a value.
Args positionals(const Args& args, std::initializer_list<std::string_view> valueFlags);

} // namespace quorvane::cli
