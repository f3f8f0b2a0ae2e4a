#include <ostream>

#include "cli_context.h"
#include "infra/program_dir.h"
#include "json_report.h"
#include "platform/files.h"
#include "platform/stop_signals.h"
#include "platform/terminal.h"
#include "session/start_gate.h"
#include "terminal_text.h"
#include "terminal_user_port.h"

namespace quorvane::cli {
namespace {

constexpr std::string_view kSynopsis =
    "usage: quorvane-cli [--home DIR] [--password PW] [--op-password T] [--yes] [--progress] "
    "COMMAND [OPTIONS]";

struct GlobalOptions {
    std::string home;
    const std::string* password = nullptr;
    const std::string* opPassword = nullptr;
    bool yes = false;
    bool progress = false;
    bool help = false;
    std::size_t command = 0; // index of the command word
};

void printCommandList(std::span<const CliCommand> commands, std::ostream& os) {
    os << kSynopsis << "\n\ncommands:\n";
    for (const auto& c : commands)
        os << "  " << c.usage << '\n';
}

// The options before the command word; false on an unknown option or a missing value.
bool parseGlobals(const Args& args, GlobalOptions& g, std::ostream& err) {
    std::size_t i = 0;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& word = args[i];
        if (word == "--yes") {
            g.yes = true;
        } else if (word == "--progress") {
            g.progress = true;
        } else if (word == "--help" || word == "-h") {
            g.help = true;
        } else if (word == "--home" || word == "--password" || word == "--op-password") {
            if (i + 1 >= args.size()) {
                err << "option " << word << " needs a value\n";
                return false;
            }
            if (word == "--home")
                g.home = args[++i];
            else if (word == "--password")
                g.password = &args[++i];
            else
                g.opPassword = &args[++i];
        } else {
            err << "unknown option: " << word << '\n';
            return false;
        }
    }
    g.command = i;
    return true;
}

// The command named by the words at `at`; nothing when none matches.
const CliCommand* findCommand(std::span<const CliCommand> commands, const Args& args,
                              std::size_t at, std::size_t& argsFrom) {
    for (const auto& c : commands) {
        if (args[at] != c.name)
            continue;
        if (c.sub.empty()) {
            argsFrom = at + 1;
            return &c;
        }
        if (at + 1 < args.size() && args[at + 1] == c.sub) {
            argsFrom = at + 2;
            return &c;
        }
    }
    return nullptr;
}

int usageError(std::span<const CliCommand> commands, const Args& args, std::size_t at,
               std::ostream& err) {
    bool known = false;
    for (const auto& c : commands)
        known = known || c.name == args[at];
    if (!known) {
        err << "unknown command: " << args[at] << '\n';
        printCommandList(commands, err);
        return kUsage;
    }
    err << "usage:\n";
    for (const auto& c : commands)
        if (c.name == args[at])
            err << "  quorvane-cli " << c.usage << '\n';
    return kUsage;
}

// The main window's start-up gate: the remember marker, else a password from the option,
// the environment, or a prompt on the terminal. Without the window's check box no marker is
// stored.
bool passGate(const Settings& settings, const GlobalOptions& g, std::ostream& err) {
    if (startGateRemembered(settings))
        return true;
    std::optional<std::string> password;
    if (g.password) {
        password = *g.password;
    } else if (auto env = platform::environment("QUORVANE_PASSWORD"); !env.empty()) {
        password = env;
    } else if (platform::stdinIsTerminal()) {
        err << "请输入保护密码：" << std::flush;
        password = platform::readHiddenLine();
    }
    return password && startGateCheckPassword(settings, *password, false);
}

// Commands run in the program directory, as the main window does; the caller's directory
// comes back when the command ends so that in-process callers keep theirs.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& dir)
        : previous_(platform::currentDirectory()), changed_(platform::changeDirectory(dir)) {}
    ~WorkingDirectory() {
        if (changed_)
            platform::changeDirectory(previous_);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    const std::string& previous() const { return previous_; }
    bool changed() const { return changed_; }

  private:
    std::string previous_;
    bool changed_;
};

} // namespace

int runCli(const Args& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    return runCliWith(cliCommands(), args, out, err, errIsTerminal);
}

int runCliWith(std::span<const CliCommand> commands, const Args& args, std::ostream& rawOut,
               std::ostream& rawErr, bool errIsTerminal) {
    // Everything written below passes the filter: no byte a terminal acts on gets through.
    TerminalTextFilter outFilter(rawOut.rdbuf());
    TerminalTextFilter errFilter(rawErr.rdbuf());
    std::ostream out(&outFilter);
    std::ostream err(&errFilter);
    GlobalOptions g;
    if (!parseGlobals(args, g, err)) {
        err << kSynopsis << '\n';
        return kUsage;
    }
    if (g.help) {
        printCommandList(commands, out);
        return kOk;
    }
    if (g.command >= args.size()) {
        printCommandList(commands, err);
        return kUsage;
    }
    std::size_t argsFrom = 0;
    const CliCommand* command = findCommand(commands, args, g.command, argsFrom);
    if (!command)
        return usageError(commands, args, g.command, err);
    Args rest(args.begin() + static_cast<std::ptrdiff_t>(argsFrom), args.end());
    auto parsed = parseArgs(rest, command->options, err);
    if (!parsed) {
        err << "usage: quorvane-cli " << command->usage << '\n';
        return kUsage;
    }

    if (g.home.empty())
        g.home = programDirectory();
    if (g.home[0] != '/')
        g.home = platform::currentDirectory() + "/" + g.home;
    WorkingDirectory cwd(g.home);
    if (!cwd.changed()) {
        err << "program directory not found: " << g.home << '\n';
        return kUsage;
    }

    // With --json standard output carries the document alone; what the window would show in
    // a box goes to standard error instead.
    const bool machineOutput = parsed->has("--json");
    TerminalUserPort port(out, err, g.yes, platform::stdinIsTerminal(), machineOutput);
    port.showProgressOn(rawErr,
                        errIsTerminal ? ProgressLine::Mode::InPlace
                        : g.progress  ? ProgressLine::Mode::Lines
                                      : ProgressLine::Mode::Off,
                        systemClock());
    CliContext ctx;
    ctx.home = g.home;
    ctx.settings = std::make_unique<Settings>(g.home);
    ctx.port = &port;
    ctx.yes = g.yes;
    ctx.out = &out;
    ctx.err = &err;
    ctx.callerDir = cwd.previous();
    ctx.args = std::move(*parsed);
    std::optional<JsonReport> report;
    if (machineOutput) {
        report.emplace(command->sub.empty()
                           ? std::string(command->name)
                           : std::string(command->name) + " " + std::string(command->sub));
        ctx.json = &*report;
    }
    if (g.opPassword)
        ctx.opPassword = *g.opPassword;
    else
        ctx.opPassword = platform::environment("QUORVANE_OP_PASSWORD");

    // A settings file that cannot be read would otherwise show only as a refused password or
    // as settings at their defaults.
    if (auto problem = ctx.settings->fileProblem())
        err << *problem << '\n';
    if (!command->offline && !passGate(*ctx.settings, g, err)) {
        err << "密码错误\n";
        return kGateRefused;
    }

    int code = command->run(ctx);
    if (code == kUsage) {
        err << "usage: quorvane-cli " << command->usage << '\n';
        return code;
    }
    if (port.answeredNo())
        code = kAnsweredNo;
    // The document says what the process's exit code will say (main turns a stop into 130).
    if (report)
        report->finish(out, platform::stopSignalReceived() ? int(kStoppedBySignal) : code,
                       port.shownTexts());
    return code;
}

} // namespace quorvane::cli
