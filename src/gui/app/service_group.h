#pragma once
// The host-service group of the main window: start, stop and console run through the scripts
// beside the program, the status text refreshed every second, the list files and the monitor.
#include <string>

#include <QObject>

namespace quorvane {
class UserPort;
}

namespace quorvane::gui {

struct MainWindowControls;

// The service's executable name, compared without regard to letter case.
inline constexpr const char* kServiceProgram = "tavrin";

class ServiceGroup : public QObject {
    Q_OBJECT
  public:
    ServiceGroup(const MainWindowControls& controls, std::string programDir, UserPort& port,
                 QObject* parent = nullptr);

    // At window start: without the start script the three buttons stay disabled until the
    // first status refresh.
    void disableWithoutScripts();
    // Looks for the service process, shows the status text and sets the button states.
    bool refreshStatus();
    bool running() const { return running_; }
    QString statusText() const;

    void OnBnClickedServiceStart();
    void OnBnClickedServiceStop();
    void OnBnClickedServiceDebug();
    void OnBnClickedWhiteList();
    void OnBnClickedBlackList();
    void OnBnClickedMonitor();

  private:
    std::string path(const char* name) const;
    void launch(const char* name, bool wait, bool show);

    const MainWindowControls& c_;
    std::string programDir_;
    UserPort& port_;
    bool running_ = false;
    bool waiting_ = false; // a start or stop script runs
};

} // namespace quorvane::gui
