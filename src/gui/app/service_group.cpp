#include "app/service_group.h"

#include <QLabel>
#include <QPushButton>

#include "app/main_window_controls.h"
#include "app/pumped_wait.h"
#include "platform/files.h"
#include "platform/process.h"
#include "session/user_port.h"

namespace quorvane::gui {
namespace {
constexpr const char* kStartScript = "启动服务.sh";
constexpr const char* kStopScript = "停止服务.sh";
constexpr const char* kDebugScript = "调试运行.sh";
} // namespace

ServiceGroup::ServiceGroup(const MainWindowControls& controls, std::string programDir,
                           UserPort& port, QObject* parent)
    : QObject(parent), c_(controls), programDir_(std::move(programDir)), port_(port) {
    connect(c_.serviceStart, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedServiceStart);
    connect(c_.serviceStop, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedServiceStop);
    connect(c_.serviceDebug, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedServiceDebug);
    connect(c_.whiteList, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedWhiteList);
    connect(c_.blackList, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedBlackList);
    connect(c_.monitor, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedMonitor);
}

std::string ServiceGroup::path(const char* name) const {
    return programDir_ + "/" + name;
}

void ServiceGroup::launch(const char* name, bool wait, bool show) {
    // The scripts and companions find their files relative to the program directory.
    platform::changeDirectory(programDir_);
    const std::string file = path(name);
    if (!wait) {
        platform::runProgram({}, file, {}, false, show);
        return;
    }
    // A slow or hanging script must not freeze the window: it stays drawn and keeps its timers
    // and notices, but takes no clicks until the script has ended.
    WinDisabler busy(port_);
    waiting_ = true;
    runWithoutFreezing([&] { platform::runProgram({}, file, {}, true, show); });
    waiting_ = false;
}

void ServiceGroup::disableWithoutScripts() {
    if (platform::fileExists(path(kStartScript)))
        return;
    for (auto* b : {c_.serviceStart, c_.serviceStop, c_.serviceDebug})
        b->setEnabled(false);
}

QString ServiceGroup::statusText() const {
    return QString::fromUtf8(running_ ? "服务状态：运行中" : "服务状态：停止");
}

bool ServiceGroup::refreshStatus() {
    running_ = platform::isProcessRunning(kServiceProgram);
    c_.serviceState->setText(statusText());
    if (waiting_)
        return running_; // the buttons stay disabled while a script runs
    c_.serviceStop->setEnabled(running_);
    c_.serviceStart->setEnabled(!running_);
    c_.serviceDebug->setEnabled(!running_);
    return running_;
}

// Start and stop wait for their script, as the service must be up or down when the person
// reads the message.
void ServiceGroup::OnBnClickedServiceStart() {
    launch(kStartScript, true, false);
    port_.showMessage("操作完成！");
}

void ServiceGroup::OnBnClickedServiceStop() {
    launch(kStopScript, true, false);
    port_.showMessage("操作完成！");
}

void ServiceGroup::OnBnClickedServiceDebug() {
    launch(kDebugScript, false, true);
}

void ServiceGroup::OnBnClickedWhiteList() {
    launch("白名单.txt", false, true);
}

void ServiceGroup::OnBnClickedBlackList() {
    launch("黑名单.txt", false, true);
}

void ServiceGroup::OnBnClickedMonitor() {
    launch("监控工具", false, true);
}

} // namespace quorvane::gui
