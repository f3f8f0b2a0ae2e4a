#include "app/service_group.h"

#include <QLabel>
#include <QPushButton>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "platform/files.h"
#include "platform/process.h"
#include "session/tool_session.h"

namespace quorvane::gui {

ServiceGroup::ServiceGroup(WindowContext& ctx)
    : WindowGroup(ctx), service_(ctx.session.programDir(), ctx.port) {
    const auto& c = ctx.c;
    connect(c.serviceStart, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedServiceStart);
    connect(c.serviceStop, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedServiceStop);
    connect(c.serviceDebug, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedServiceDebug);
    connect(c.whiteList, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedWhiteList);
    connect(c.blackList, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedBlackList);
    connect(c.monitor, &QPushButton::clicked, this, &ServiceGroup::OnBnClickedMonitor);
}

void ServiceGroup::disableWithoutScripts() {
    if (service_.scriptsPresent())
        return;
    for (auto* b : {ctx_.c.serviceStart, ctx_.c.serviceStop, ctx_.c.serviceDebug})
        b->setEnabled(false);
}

QString ServiceGroup::statusText() const {
    return QString::fromStdString(serviceStatusText(running_));
}

void ServiceGroup::showStatus(bool running) {
    running_ = running;
    ctx_.c.serviceState->setText(statusText());
    if (waiting_)
        return; // the window is busy while a script runs; its end restores the buttons
    ctx_.c.serviceStop->setEnabled(running_);
    ctx_.c.serviceStart->setEnabled(!running_);
    ctx_.c.serviceDebug->setEnabled(!running_);
}

bool ServiceGroup::refreshStatus() {
    showStatus(service_.isRunning());
    return running_;
}

void ServiceGroup::report(const ServiceOutcome& outcome) {
    showStatus(outcome.running);
    ctx_.port.showMessage(outcome.message);
}

// Start and stop wait for their script: the service must be up or down when the person reads
// the message. The window stays drawn meanwhile but takes no clicks.
void ServiceGroup::OnBnClickedServiceStart() {
    waiting_ = true;
    ServiceOutcome outcome = service_.start();
    waiting_ = false;
    report(outcome);
}

void ServiceGroup::OnBnClickedServiceStop() {
    waiting_ = true;
    ServiceOutcome outcome = service_.stop();
    waiting_ = false;
    report(outcome);
}

void ServiceGroup::OnBnClickedServiceDebug() {
    if (auto message = service_.runConsole())
        ctx_.port.showMessage(*message);
}

void ServiceGroup::launch(const char* name) {
    // The companions find their files relative to the program directory.
    const std::string& dir = ctx_.session.programDir();
    platform::changeDirectory(dir);
    const std::string path = dir + "/" + name;
    // A button that does nothing leaves the person guessing: a missing file is named.
    if (!platform::fileExists(path)) {
        ctx_.port.showMessage("找不到文件：" + path);
        return;
    }
    platform::runProgram({}, path, {}, false, true);
}

void ServiceGroup::OnBnClickedWhiteList() {
    launch("白名单.txt");
}

void ServiceGroup::OnBnClickedBlackList() {
    launch("黑名单.txt");
}

void ServiceGroup::OnBnClickedMonitor() {
    launch("监控工具");
}

} // namespace quorvane::gui
