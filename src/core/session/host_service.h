#pragma once
// Control of the host service beside the tool, shared by the main window and the command line:
// whether it runs (this program directory's service: its pid file, its program file), starting and
// stopping it through the scripts in the program directory, and running it with its output shown.
#include <optional>
#include <string>

namespace quorvane {

class UserPort;

// The service's executable name, compared without regard to letter case.
inline constexpr const char* kServiceProgram = "tavrin";
// Names another executable for the service: tests that start services of their own use it
// so that no test sees another's. The scripts read it too.
inline constexpr const char* kServiceProgramVariable = "QUORVANE_SERVICE_PROGRAM";

inline constexpr const char* kServiceStartScript = "启动服务.sh";
inline constexpr const char* kServiceStopScript = "停止服务.sh";
inline constexpr const char* kServiceDebugScript = "调试运行.sh";
// Where the console run writes the service's output when no terminal window can show it.
inline constexpr const char* kServiceConsoleLog = "log/tavrin-console.log";
// Where the start script keeps the pid of the service it started.
inline constexpr const char* kServicePidFile = "tavrin.pid";

// $QUORVANE_SERVICE_PROGRAM when it holds a plain file name, else "tavrin".
std::string serviceProgramName();

// The status text of the main window's service group.
std::string serviceStatusText(bool running);

// What a start or stop left: whether the service runs now, whether that is what was asked,
// and the message for the person.
struct ServiceOutcome {
    bool ok = false;
    bool running = false;
    std::string message;
};

class HostService {
  public:
    HostService(std::string programDir, UserPort& port, std::string program = serviceProgramName());

    const std::string& program() const { return program_; }
    // The start script is there (without it the window disables its service buttons).
    bool scriptsPresent() const;
    // Whether this program directory's service runs.
    bool isRunning() const;

    // Runs the start script and waits for it (the person's window stays drawn but busy), then
    // checks the status: "操作完成！" only when the script succeeded and the service runs.
    ServiceOutcome start();
    // Runs the stop script and waits for it; "操作完成！" only when the service no longer runs.
    ServiceOutcome stop();
    // Runs the service in the foreground with its output shown: in a terminal window when the
    // desktop has one, else written to kServiceConsoleLog. Returns at once; the message naming
    // the log file in the second case, nothing in the first.
    std::optional<std::string> runConsole();

  private:
    std::string path(const char* name) const;
    // The script's exit status, or -1 when it is missing or could not be started.
    int runScript(const char* name);

    std::string programDir_;
    UserPort& port_;
    std::string program_;
};

} // namespace quorvane
