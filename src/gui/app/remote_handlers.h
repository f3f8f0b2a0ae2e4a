#pragma once
// The remote-command area of the main window: opening doors and relays (the buttons and the
// relay submenus of the device list), open on all controllers, the clock, restart, clear log,
// self test, the RS-485 reader flag, and the MAC and IP allocation fields the next save sends.
// Each handler reads its controls, calls the core operation and leaves the outcome to it.
#include <functional>
#include <optional>

#include <QObject>

#include "model/device_info.h"

class QWidget;

namespace quorvane {
class ToolSession;
class UserPort;
} // namespace quorvane

namespace quorvane::gui {

class DeviceListView;
struct MainWindowControls;

class RemoteHandlers : public QObject {
    Q_OBJECT
  public:
    // enableButton: the window's rule for its operation controls, applied again when the IP
    // allocation choice changes.
    RemoteHandlers(ToolSession& session, UserPort& port, const MainWindowControls& controls,
                   QWidget* window, DeviceListView& list,
                   std::function<void(bool, const DeviceUIInfo*)> enableButton);

    // The relay submenus' handlers by relay (0..3) and item (0..8), in menu order.
    using RelayHandler = void (RemoteHandlers::*)();
    static const RelayHandler kRelayHandlers[4][9];

  public slots:
    void OnBnClickedOpenDoor();
    void OnBnClickedZ1OpenDoorAll();
    void OnBnClickedReadtime();
    void OnBnClickedSettime();
    void OnBnClickedReset();
    void OnBnClickedClearLog();
    void OnBnClickedSelfTest();
    void OnBnClickedSet485id();
    void OnBnClickedGenMac();
    void OnBnClickedIpFix();
    void OnBnClickedIpDhcp();
    void OnBnClickedIpPppoe();
    // Handler rc opens relay r (1..4) with item c (1..9) of its submenu.
    void OnBnClickedOpenDoor11();
    void OnBnClickedOpenDoor12();
    void OnBnClickedOpenDoor13();
    void OnBnClickedOpenDoor14();
    void OnBnClickedOpenDoor15();
    void OnBnClickedOpenDoor16();
    void OnBnClickedOpenDoor17();
    void OnBnClickedOpenDoor18();
    void OnBnClickedOpenDoor19();
    void OnBnClickedOpenDoor21();
    void OnBnClickedOpenDoor22();
    void OnBnClickedOpenDoor23();
    void OnBnClickedOpenDoor24();
    void OnBnClickedOpenDoor25();
    void OnBnClickedOpenDoor26();
    void OnBnClickedOpenDoor27();
    void OnBnClickedOpenDoor28();
    void OnBnClickedOpenDoor29();
    void OnBnClickedOpenDoor31();
    void OnBnClickedOpenDoor32();
    void OnBnClickedOpenDoor33();
    void OnBnClickedOpenDoor34();
    void OnBnClickedOpenDoor35();
    void OnBnClickedOpenDoor36();
    void OnBnClickedOpenDoor37();
    void OnBnClickedOpenDoor38();
    void OnBnClickedOpenDoor39();
    void OnBnClickedOpenDoor41();
    void OnBnClickedOpenDoor42();
    void OnBnClickedOpenDoor43();
    void OnBnClickedOpenDoor44();
    void OnBnClickedOpenDoor45();
    void OnBnClickedOpenDoor46();
    void OnBnClickedOpenDoor47();
    void OnBnClickedOpenDoor48();
    void OnBnClickedOpenDoor49();

  private:
    std::optional<DeviceUIInfo> selected() const;
    void openRelay(int relay, int choice);
    // The open-time field in milliseconds; nothing after the range message when it is no
    // number.
    std::optional<long> openTime() const;
    void reapplyRules();

    ToolSession& session_;
    UserPort& port_;
    const MainWindowControls& c_;
    QWidget* window_;
    DeviceListView& list_;
    std::function<void(bool, const DeviceUIInfo*)> enableButton_;
};

} // namespace quorvane::gui
