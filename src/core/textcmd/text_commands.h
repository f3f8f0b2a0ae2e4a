#pragma once
// Text commands to one controller or, with per-target variables, to many in one run (each
// target in turn, or by broadcast 500 ms apart), the three preset commands, and the upload of
// a fingerprint template. Replies show as notices through their standard handling.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_info.h"
#include "protocol/admin_channel.h"
#include "session/batch_runner.h"
#include "textcmd/text_frames.h"
#include "textcmd/text_variables.h"

namespace quorvane {

class ToolSession;

// The pause between two frames of a run by broadcast, so that the controllers that are not
// addressed are not flooded.
inline constexpr std::chrono::milliseconds kBroadcastSpacing{500};
inline constexpr std::size_t kFingerTemplateChars = 2 * kFingerTemplateBytes;
inline constexpr const char* kTemplateLengthText = "数据错误！长度不匹配！";
inline constexpr const char* kTemplateDigitsText = "数据错误！模板文件只能包含十六进制字符！";
inline constexpr const char* kTemplateFilter =
    "FingerTemplate Files(*.tpl)|*.tpl|All Files(*.*)|*.*||";

// One text command to device (none: "请选择要操作的设备！"), to its own address, or with
// broadcast to that destination by UDP (still addressed to the device's id). 0 when it went out
// and, where the session waits, was answered with status 1; -1 otherwise.
int sendTextCmd(ToolSession& session, const std::string& text,
                const std::optional<DeviceUIInfo>& device,
                const std::optional<SearchTarget>& broadcast = std::nullopt);

// Controllers with an id of 65,500 or above are no targets of text commands.
inline constexpr std::uint16_t kFirstUntargetableId = 65500;
inline bool textTargetAllowed(const DeviceUIInfo& device) {
    return device.getTargetId() < kFirstUntargetableId;
}

// Values of 0..32767, as the C library's generator gives them, seeded from the clock.
TextRandom textRandom(const Clock& clock);

// A run of the batch dialog or the command line: the command as typed, the targets in order,
// and for a run by broadcast the destination of every frame.
struct TextRun {
    std::string command;
    std::vector<DeviceUIInfo> targets;
    std::optional<SearchTarget> broadcast;
};

// Sends the command, its variables filled in for each target, to every target in order (one
// sequence for the run); by broadcast each frame follows the last after kBroadcastSpacing on
// the session's clock. Nothing is sent for an empty command or no target. The person can stop
// the run between targets. The run ends with one summary naming each target and how it went.
BatchResult runTextCommand(ToolSession& session, const TextRun& run, const TextRandom& random);

// Preset 1..3 of the context menu to the selected device.
int sendTextPreset(ToolSession& session, const std::optional<DeviceUIInfo>& selected, int preset);

// The 498 template bytes of a template file's text: exactly 996 hexadecimal characters (either
// case, no separators); nothing otherwise, with the message that says why in whyNot.
std::optional<std::array<std::uint8_t, kFingerTemplateBytes>>
parseFingerTemplate(std::string_view fileText, const char** whyNot = nullptr);

// Uploads the template file named in fileBox (empty: the person picks one; Cancel ends it) to
// the selected device (none: "请选择要操作的记录！"). 0, -1, or 1 when nothing was picked. The
// reply shows as a right addition.
int uploadFingerTemplate(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         const std::string& fileBox);

} // namespace quorvane
