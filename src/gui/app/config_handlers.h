#pragma once
// The configuration area of the main window ("２.门禁配置"): save (to the device or by
// broadcast), the door-access configuration and its copy between controllers, the
// controller-side backups, clearing all data, and the detail text. Each handler reads the
// window's controls, runs the core operation and hands a changed record back to the list.
#include <functional>
#include <optional>

#include "app/window_group.h"
#include "config/config_save.h"
#include "config/device_backup.h"
#include "config/door_config.h"

namespace quorvane::gui {

struct DeviceListMenuActions;

class ConfigHandlers : public WindowGroup {
    Q_OBJECT
  public:
    // The door-access dialog on the working block; true on OK.
    using DoorDialog = std::function<bool(DoorBlock& working)>;

    explicit ConfigHandlers(WindowContext& ctx);

    void setDoorDialog(DoorDialog dialog) { doorDialog_ = std::move(dialog); }
    bool hasDoorDialog() const { return static_cast<bool>(doorDialog_); }
    // The context menu's configuration entries (the door-access entry only with its dialog).
    void addMenuActions(DeviceListMenuActions& actions);

    // The window's basic configuration fields, or nothing when one cannot be read (a number
    // out of range, an address or MAC that is not one).
    std::optional<BasicConfigFields> takeFields() const;
    // takeFields, or nothing after "保存界面数据失败！" naming the field and its text.
    std::optional<BasicConfigFields> takeFieldsOrSay() const;

  signals:
    // `refresh-list-after-config`: a new search after the door-access dialog.
    void searchRequested();

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
    void backupCommand(DeviceBackupCommand command);
    // The service status text the window shows.
    std::string serviceState() const;
    void recordChanged(const std::optional<DeviceUIInfo>& before,
                       const std::optional<DeviceUIInfo>& after);

    DoorDialog doorDialog_;
    // An operation that waits pumps the window's events: a second click meanwhile is ignored.
    bool running_ = false;
    // The field takeFields could not read last, as the person reads it (caption and text).
    mutable QString fieldProblem_;
};

} // namespace quorvane::gui
