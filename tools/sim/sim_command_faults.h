#pragma once
// Faults scripted per request code on the command line (--fault KIND:CODE:VALUE[@ADDRESS]):
//   drop:C:N        drop the first N replies to requests with code C
//   drop-each:C:N   drop the first N replies to each distinct request with code C (requests
//                   with equal payloads are the same request: a resend of one item)
//   status:C:S      answer code C with status S (reply code C + 1, empty payload) instead of
//                   carrying the command out
//   delay:C:MS      send replies to code C MS milliseconds late
//   door:D:S        answer open-door requests (16) for door D with status S, the relay left as
//                   it was
//   loss:C:P        drop each reply to code C with probability P percent (drawn from a
//                   generator seeded like the random faults)
// Counts are kept per controller. With @ADDRESS a fault applies only to the controllers at that
// address. A dropped reply's command still took effect: only its answer is lost.
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "sim_frame.h"

namespace quorvane::sim {

struct CommandFault {
    enum class Kind { Drop, DropEach, Status, Delay, Door, Loss };
    Kind kind = Kind::Drop;
    std::uint8_t code = 0; // the request code (16 for a door fault)
    std::uint32_t value = 0;
    std::optional<std::uint32_t> address; // host order; none: every controller
    int door = 0;                         // a door fault's door number (1-based)

    bool operator==(const CommandFault&) const = default;
};

// One --fault value, or nothing with the reason in error.
std::optional<CommandFault> parseCommandFault(std::string_view text, std::string& error);

class CommandFaults {
  public:
    CommandFaults() = default;
    explicit CommandFaults(std::vector<CommandFault> faults, std::uint32_t seed = 1)
        : faults_(std::move(faults)), rng_(seed) {}

    // The status to answer with instead of carrying the command out (the first status fault
    // that applies), or nothing.
    std::optional<std::uint8_t> statusFor(std::uint32_t address, std::uint8_t code) const;
    // Whether the reply the controller (by its index) is about to send to this request is one
    // to drop; counts it against every drop fault that applies.
    bool dropReply(std::size_t controller, std::uint32_t address, const SimRequest& request);
    // The extra delay of replies to code (the first delay fault that applies).
    std::chrono::milliseconds delayFor(std::uint32_t address, std::uint8_t code) const;
    // The status each door with a door fault answers with at address (the first door fault
    // given for a door applies), by door number.
    std::map<int, std::uint8_t> doorStatuses(std::uint32_t address) const;

  private:
    const CommandFault* first(CommandFault::Kind kind, std::uint32_t address,
                              std::uint8_t code) const;
    std::vector<CommandFault> faults_;
    // Replies dropped so far: by fault and controller, and for drop-each also by payload.
    std::map<std::tuple<std::size_t, std::size_t, std::string>, std::uint32_t> dropped_;
    std::mt19937 rng_{1};
};

} // namespace quorvane::sim
