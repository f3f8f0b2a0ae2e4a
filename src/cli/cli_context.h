#pragma once
// What every quorvane-cli command gets: the program directory and its settings, the person's
// port (terminal or --yes), and the output streams. Commands return the exit code.
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "declared_options.h"
#include "infra/settings.h"
#include "session/user_port.h"

namespace quorvane::cli {

class JsonReport;

// kStoppedBySignal (128 + SIGINT): Ctrl-C or SIGTERM cancelled the command's batch.
enum ExitCode {
    kOk = 0,
    kFailed = 1,
    kUsage = 2,
    kAnsweredNo = 3,
    kGateRefused = 4,
    kStoppedBySignal = 130
};

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
    // The command's words after its name, read against its declared options.
    ParsedArgs args;
    // The operation-password box: `--op-password` or $QUORVANE_OP_PASSWORD (UTF-8).
    std::string opPassword;
    // With --json: the document the command's results go into; null otherwise.
    JsonReport* json = nullptr;
};

// A file named on the command line: absolute names unchanged, others below ctx.callerDir.
std::string callerPath(const CliContext& ctx, const std::string& name);

struct CliCommand {
    std::string_view name;   // first word, e.g. "decode"
    std::string_view sub;    // second word, or empty when the command has none
    bool offline;            // offline commands need no password and no network
    int (*run)(CliContext&); // reads ctx.args; kUsage makes the runner print the usage once
    std::string_view usage;
    std::span<const DeclaredOption> options;
};

std::span<const CliCommand> cliCommands();

// Runs quorvane-cli with the given arguments (without the program name). errIsTerminal: err
// reaches a terminal, where progress is one line rewritten in place.
int runCli(const Args& args, std::ostream& out, std::ostream& err, bool errIsTerminal = false);
// The same over another command table (tests run the common rules with commands of their own).
int runCliWith(std::span<const CliCommand> commands, const Args& args, std::ostream& out,
               std::ostream& err, bool errIsTerminal = false);

// A number option within [lo, hi]: true when absent (out unchanged) or valid; false after
// printing why.
bool numberOption(CliContext& ctx, std::string_view name, long lo, long hi, long& out);

} // namespace quorvane::cli
