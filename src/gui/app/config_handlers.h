#pragma once
// The configuration handlers of the main window: save (to the device or by broadcast), the
// door-access configuration and its copy between controllers, the controller-side backups,
// clearing all data, and the detail text. Each reads the window's controls, runs the core
// operation and hands a changed record back to the window's list.
#include <functional>
#include <optional>
#include <string>

#include <QObject>

#include "model/device_info.h"
#include "session/config_save.h"
#include "session/door_config.h"

class QMenu;
class QWidget;

namespace quorvane {
class ToolSession;
}

namespace quorvane::gui {

class QtUserPort;
struct MainWindowControls;

class ConfigHandlers : public QObject {
    Q_OBJECT
  public:
    // What the handlers need of the rest of the window.
    struct WindowHooks {
        std::function<std::optional<DeviceUIInfo>()> selected; // the selected row's record
        // An operation refreshed or changed a listed record.
        std::function<void(const DeviceUIInfo& before, const DeviceUIInfo& after)> recordChanged;
        std::function<void()> search;              // the window's search
        std::function<std::string()> serviceState; // the service status text shown
    };
    // The door-access dialog on the working block; true on OK.
    using DoorDialog = std::function<bool(DoorBlock& working)>;

    ConfigHandlers(ToolSession& session, QtUserPort& port, const MainWindowControls& controls,
                   QWidget* window, WindowHooks hooks);

    void setDoorDialog(DoorDialog dialog) { doorDialog_ = std::move(dialog); }
    bool hasDoorDialog() const { return static_cast<bool>(doorDialog_); }
    // Connects the context menu's configuration entries to these handlers.
    void attachToMenu(QMenu* menu);

    // The window's basic configuration fields, or nothing when one cannot be read (a number
    // out of range, an address or MAC that is not one).
    std::optional<BasicConfigFields> takeFields() const;

  public slots:
    void OnBnClickedSave();
    void OnBnClickedSaveBroadcast();
    void OnBnClickedConfigEx();
    void OnBnClickedConfigexCopy();
    void OnBnClickedBackupConfig();
    void OnBnClickedRestoreConfig();
    void OnBnClickedBackupToFactory();
    void OnBnClickedRestoreFactory();
    void OnBnClickedClearAll();
    void OnBnClickedInfo();
    void OnBnClickedShowState();
    // A right double click on a list row.
    void OnNMRDblclkZ1List();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void save(SaveMode mode);
    void backupCommand(int command);
    void recordChanged(const std::optional<DeviceUIInfo>& before,
                       const std::optional<DeviceUIInfo>& after);

    ToolSession& session_;
    QtUserPort& port_;
    const MainWindowControls& c_;
    QWidget* window_;
    WindowHooks hooks_;
    DoorDialog doorDialog_;
    // An operation that waits pumps the window's events: a second click meanwhile is ignored.
    bool running_ = false;
};

} // namespace quorvane::gui
