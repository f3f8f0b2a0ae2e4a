#pragma once
// The command codes a simulated controller answers and the handler of each. The modules
// register their handlers; a code nobody registered gets the general error reply.
#include <array>
#include <cstdint>
#include <optional>

#include "sim_controller.h"
#include "sim_frame.h"

namespace quorvane::sim {

// The reply to a request, or nothing when the controller stays silent.
using SimHandler = std::optional<SimReply> (*)(SimController&, const SimRequest&);

// Statuses of the general error reply.
inline constexpr std::uint8_t kBadParameter = 0xFC;
inline constexpr std::uint8_t kBadChecksum = 0xFD;
inline constexpr std::uint8_t kBadFormat = 0xFE;
inline constexpr std::uint8_t kUnknownCommand = 0xFF;
inline constexpr std::uint8_t kErrorReplyCode = 255;
// The status of a reply that did what was asked, and of one that did not.
inline constexpr std::uint8_t kDone = 1;
inline constexpr std::uint8_t kFailed = 0;

class CommandTable {
  public:
    // Every module's handlers.
    CommandTable();
    // Registers the handler of a request code; a code registered twice is a programming error
    // (std::logic_error).
    void add(std::uint8_t command, SimHandler handler);
    bool answers(std::uint8_t command) const { return handlers_[command] != nullptr; }

    struct Answer {
        std::uint8_t code; // request code + 1, or 255
        SimReply reply;
    };
    // The handler's reply under code + 1; the general error reply for a wrong checksum or an
    // unknown code; nothing when the handler stays silent.
    std::optional<Answer> answer(SimController& controller, const SimRequest& request) const;

  private:
    std::array<SimHandler, 256> handlers_{};
};

} // namespace quorvane::sim
