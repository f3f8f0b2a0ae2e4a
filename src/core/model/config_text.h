#pragma once
// The configuration as text a person reads: the device detail text and the door-access block
// alone (door-config --show). Both walk the field table.
#include <string>

#include "model/device_info.h"
#include "platform/bytes.h"

namespace quorvane {

// The device detail text: "服务运行=", "基本信息=", "通信信息=", "统计信息=", "设备状态=",
// "运行状态=", "扩展配置=", "勾选选项=" and "统计值=" lines, then the serial-port, Wiegand,
// relay, signal and time-zone lines, each group after an empty line. Every line ends with "\n".
std::string devDetailText(const DeviceUIInfo& record, const std::string& serviceState);

// The door-access block alone in the detail text's form: the "统计信息=", "设备状态=",
// "运行状态=", "扩展配置=" and "勾选选项=" lines with only the block's own items, then the same
// groups of lines. Fields that a short block does not hold show as empty.
std::string doorBlockText(Bytes doorBlock);

} // namespace quorvane
