#include "session/host_service.h"

#include <cstdlib>

#include "platform/files.h"
#include "platform/process.h"
#include "session/user_port.h"

namespace quorvane {

std::string serviceProgramName() {
    std::string name = platform::environment(kServiceProgramVariable);
    // Only a file name in the program directory; a path could name anything.
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return kServiceProgram;
    return name;
}

std::string serviceStatusText(bool running) {
    return running ? "服务状态：运行中" : "服务状态：停止";
}

HostService::HostService(std::string programDir, UserPort& port, std::string program)
    : programDir_(std::move(programDir)), port_(port), program_(std::move(program)) {}

std::string HostService::path(const char* name) const {
    return programDir_ + "/" + name;
}

bool HostService::scriptsPresent() const {
    return platform::fileExists(path(kServiceStartScript));
}

// As the scripts see it: the process the pid file names when it runs this directory's service
// program, else any process running that program file (one started by hand has no pid file).
// A service of another program directory runs another file and is not this one.
bool HostService::isRunning() const {
    const std::string program = path(program_.c_str());
    if (auto text = platform::readWholeFile(path(kServicePidFile))) {
        const int pid = std::atoi(text->c_str());
        if (platform::processRunsProgram(pid, program))
            return true;
    }
    return platform::anyProcessRunsProgram(program);
}

int HostService::runScript(const char* name) {
    // The scripts find the service and their files relative to the program directory.
    platform::changeDirectory(programDir_);
    WinDisabler busy(port_);
    int status = -1;
    port_.runBlocking([&] {
        if (platform::runProgram({}, path(name), {}, true, false, &status) != 0)
            status = -1;
    });
    return status;
}

// The script waits until the launched process is the service, so one look afterwards tells
// whether the start took.
ServiceOutcome HostService::start() {
    const bool present = scriptsPresent();
    const int status = runScript(kServiceStartScript);
    ServiceOutcome o;
    o.running = isRunning();
    o.ok = status == 0 && o.running;
    if (o.ok)
        o.message = "操作完成！";
    else if (!present)
        o.message = std::string("找不到") + kServiceStartScript + "，无法启动服务！";
    else
        o.message = "启动服务失败！原因见服务日志 log/tavrin.log。";
    return o;
}

ServiceOutcome HostService::stop() {
    const bool present = platform::fileExists(path(kServiceStopScript));
    runScript(kServiceStopScript);
    ServiceOutcome o;
    o.running = isRunning();
    o.ok = !o.running;
    if (o.ok)
        o.message = "操作完成！";
    else if (!present)
        o.message = std::string("找不到") + kServiceStopScript + "，无法停止服务！";
    else
        o.message = "停止服务失败！仍有服务程序在运行，它可能不是从本软件目录启动的。";
    return o;
}

std::optional<std::string> HostService::runConsole() {
    platform::changeDirectory(programDir_);
    const std::string script = path(kServiceDebugScript);
    if (!platform::terminalProgram().empty()) {
        platform::runProgram({}, script, {}, false, true);
        return std::nullopt;
    }
    if (!platform::fileExists(script))
        return std::nullopt; // nothing is launched, as for a missing companion
    platform::makeDirectories(path("log"));
    const std::string log = path(kServiceConsoleLog);
    if (platform::runProgramLogged(script, log) != 0)
        return std::nullopt;
    return "没有可以显示服务输出的终端窗口（x-terminal-emulator），服务程序的输出写入文件：" + log;
}

} // namespace quorvane
