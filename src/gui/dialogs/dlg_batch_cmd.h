#pragma once
// "向控制板发送文本指令": the person picks the target controllers from the listed ones, types a
// text command (or takes one from the history or the reference commands) and runs it, to each
// target or by broadcast. The sending itself follows after OK; OK rewrites the history.
#include <cstdint>
#include <string>
#include <vector>

#include <QDialog>

#include "model/device_info.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvane {
class Settings;
class ToolLog;
class UserPort;
} // namespace quorvane

namespace quorvane::gui {

class CDlgBatchCmd : public QDialog {
    Q_OBJECT
  public:
    // devices: a copy of the device list; the one whose id is selectedId (0: none) starts as the
    // target. Devices with an id of 65,500 or above are left out.
    CDlgBatchCmd(const std::vector<DeviceUIInfo>& devices, std::uint16_t selectedId,
                 const Settings& settings, ToolLog* log, UserPort& port, QWidget* parent = nullptr);

    // After OK.
    std::string command() const;
    const std::vector<DeviceUIInfo>& targets() const { return targets_; }
    bool broadcast() const { return broadcast_; }

    QTableWidget* availableList() const { return availableList_; }
    QTableWidget* targetList() const { return targetList_; }
    QLineEdit* commandEdit() const { return command_; }
    QComboBox* history() const { return history_; }
    QComboBox* references() const { return references_; }
    QPushButton* runButton() const { return run_; }
    QPushButton* broadcastButton() const { return runBroadcast_; }

  public slots:
    void OnBnClickedAdd();
    void OnBnClickedRemove();
    void OnBnClickedAddAll();
    void OnBnClickedRemoveAll();
    void OnBnClickedCmdHelp();
    void OnBnClickedVarHelp();
    void OnBnClickedOk();
    void OnBnClickedBroadcast();

  private:
    // Moves the selected row of from (a list of devices) to the other list.
    void move(QTableWidget* list, std::vector<DeviceUIInfo>& from, std::vector<DeviceUIInfo>& to);
    void redraw();

    const Settings& settings_;
    ToolLog* log_;
    UserPort& port_;
    std::vector<DeviceUIInfo> available_;
    std::vector<DeviceUIInfo> targets_;
    bool broadcast_ = false;
    QTableWidget* availableList_;
    QTableWidget* targetList_;
    QLineEdit* command_;
    QComboBox* history_;
    QComboBox* references_;
    QPushButton* run_;
    QPushButton* runBroadcast_;
};

} // namespace quorvane::gui
