#pragma once
// The swipe prompt sounds ("自定义刷卡提示音播放配置"): 16 slots, sounds 92 to 107 of the sound
// project. After each swipe the controller checks the slots' conditions in order and plays
// the sound (or carries out the action) of the first one the swipe meets. Each slot's chosen
// condition is one byte of the basic block's second reserved field (bytes 84..99, slot 1
// first), which the controller reads as its prompt table; the conditions offered and each
// slot's free description live in section `scan-sound` of the settings.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/device_info.h"

namespace quorvane {

class Settings;
class ToolSession;

inline constexpr int kScanPromptSlots = 16;
inline constexpr int kFirstPromptSound = 92;

struct ScanPrompts {
    std::array<std::uint8_t, kScanPromptSlots> conditions{}; // index into the offered list
    std::array<std::string, kScanPromptSlots> descriptions;  // UTF-8
};

// The conditions offered: `options` of [scan-sound], entries separated by ";".
std::vector<std::string> scanPromptOptions(const Settings& settings);
// The record's chosen conditions and the descriptions kept under the keys "1".."16".
ScanPrompts readScanPrompts(const Settings& settings, const DeviceUIInfo& record);

// OK of the dialog: the descriptions written to the settings, the conditions put into the
// record and the basic configuration saved to the controller. A kOperation… result.
int saveScanPrompts(ToolSession& session, const DeviceUIInfo& record, const ScanPrompts& prompts);

} // namespace quorvane
