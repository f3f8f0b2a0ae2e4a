#pragma once
// "串口配置（读头1-4表示设备上的4个串口设备）": baud rate and device type of serial ports 1..4,
// and per port a "设备配置" button that opens the dialog of the port's device type on the port's
// 28-byte setting area.
#include <array>

#include "dialogs/dlg_config_part.h"

class QCheckBox;
class QComboBox;

namespace quorvane::gui {

// What "设备配置" opens for a serial port's device type.
enum class PortDeviceDialog { None, Reader, Display, CardFee, ClearRelay };
PortDeviceDialog portDeviceDialog(std::uint32_t deviceType);

class CDlgConfigCom : public CDlgConfigPart {
    Q_OBJECT
  public:
    // doorBlock: the 424-byte door-access block being edited.
    explicit CDlgConfigCom(MutableBytes doorBlock, QWidget* parent = nullptr);

  private:
    // The device type the port's list shows, or the stored one when the list has no entry for it.
    std::uint32_t deviceType(int port);
    void OnBnClickedDeviceConfig(int port);

    std::array<QComboBox*, 4> types_{};
    std::array<QCheckBox*, 4> asReader_{};
};

} // namespace quorvane::gui
