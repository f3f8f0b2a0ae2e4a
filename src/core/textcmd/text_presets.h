#pragma once
// The fixed text commands of the device list's "常用配置" submenu: reader directions, the door
// each reader opens, and the doors' opening times.
#include <array>

namespace quorvane {

struct TextPreset {
    const char* caption; // the menu entry
    const char* text;    // the text command sent
};

// Presets 1, 2 and 3 in menu order.
extern const std::array<TextPreset, 3> kTextPresets;

} // namespace quorvane
