#pragma once
// The host-service area ("４.消息接收服务"): start, stop and console run of the service, its
// status refreshed every second, the list files and the monitor. The service itself is
// controlled by core (HostService), which the command line shares.
#include "app/window_group.h"
#include "session/host_service.h"

namespace quorvane::gui {

class ServiceGroup : public WindowGroup {
    Q_OBJECT
  public:
    // The status looks for the executable serviceProgramName() names.
    explicit ServiceGroup(WindowContext& ctx);

    // At window start: without the start script the three buttons stay disabled until the
    // first status refresh.
    void disableWithoutScripts();
    // Looks for the service process, shows the status text and sets the button states.
    bool refreshStatus();
    bool running() const { return running_; }
    QString statusText() const;

  public slots:
    void OnBnClickedServiceStart();
    void OnBnClickedServiceStop();
    void OnBnClickedServiceDebug();
    void OnBnClickedWhiteList();
    void OnBnClickedBlackList();
    void OnBnClickedMonitor();

  private:
    void showStatus(bool running);
    // Start and stop: the outcome's status is on the buttons before its message shows.
    void report(const ServiceOutcome& outcome);
    void launch(const char* name);

    HostService service_;
    bool running_ = false;
    bool waiting_ = false; // a start or stop script runs
};

} // namespace quorvane::gui
