#pragma once
// The commands a simulated controller answers, one module per group of commands.
#include <array>
#include <cstdint>
#include <optional>

#include "sim_controller.h"
#include "sim_frame.h"

namespace quorvane::sim {

// The reply to a request, or nothing when the controller stays silent.
using SimHandler = std::optional<SimReply> (*)(SimController&, const SimRequest&);

// General error reply statuses.
inline constexpr std::uint8_t kBadParameter = 0xFC;
inline constexpr std::uint8_t kBadChecksum = 0xFD;
inline constexpr std::uint8_t kBadFormat = 0xFE;
inline constexpr std::uint8_t kUnknownCommand = 0xFF;
inline constexpr std::uint8_t kErrorReplyCode = 255;

class CommandTable {
public:
    CommandTable();
    void add(std::uint8_t command, SimHandler handler) { handlers_[command] = handler; }
    // The reply code and reply for a request: the handler's (code + 1), or the general error
    // reply 255.
    struct Answer {
        std::uint8_t code;
        SimReply reply;
    };
    std::optional<Answer> answer(SimController& controller, const SimRequest& request) const;

private:
    std::array<SimHandler, 256> handlers_{};
};

void addInfoCommands(CommandTable& table);     // 2, 4 (sim_info.cpp)
void addConfigCommands(CommandTable& table);   // 12, 14 (sim_config.cpp)
void addTimeCommands(CommandTable& table);     // 38, 40 (sim_time.cpp)
void addControlCommands(CommandTable& table);  // 16, 66 (sim_control.cpp)

// The device-information payload: basic (116) or extended (192) block, then the door block.
std::string deviceInfoPayload(const SimController& controller);

} // namespace quorvane::sim
