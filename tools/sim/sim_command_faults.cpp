#include "sim_command_faults.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "platform/udp_socket.h"

namespace quorvane::sim {

namespace {
bool number(std::string_view text, std::uint32_t max, std::uint32_t& out) {
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out <= max;
}
struct KindName {
    std::string_view name;
    CommandFault::Kind kind;
    std::uint32_t max; // largest value
};
constexpr KindName kKinds[] = {{"drop", CommandFault::Kind::Drop, 1000000000},
                               {"drop-each", CommandFault::Kind::DropEach, 1000000000},
                               {"status", CommandFault::Kind::Status, 255},
                               {"delay", CommandFault::Kind::Delay, 600000},
                               {"door", CommandFault::Kind::Door, 255},
                               {"loss", CommandFault::Kind::Loss, 100}};
constexpr std::uint8_t kOpenDoor = 16;

bool applies(const CommandFault& f, std::uint32_t address, std::uint8_t code) {
    return f.code == code && (!f.address || *f.address == address);
}
} // namespace

std::optional<CommandFault> parseCommandFault(std::string_view text, std::string& error) {
    CommandFault f;
    std::string_view rest = text;
    if (auto at = rest.find('@'); at != std::string_view::npos) {
        auto address = platform::parseIpv4(std::string(rest.substr(at + 1)));
        if (!address) {
            error = "bad address in fault " + std::string(text);
            return std::nullopt;
        }
        f.address = *address;
        rest = rest.substr(0, at);
    }
    auto c1 = rest.find(':');
    auto c2 = c1 == std::string_view::npos ? c1 : rest.find(':', c1 + 1);
    if (c2 == std::string_view::npos) {
        error = "a fault is KIND:CODE:VALUE[@ADDRESS], not " + std::string(text);
        return std::nullopt;
    }
    std::string_view kind = rest.substr(0, c1);
    const KindName* known = nullptr;
    for (const auto& k : kKinds)
        if (k.name == kind)
            known = &k;
    if (!known) {
        error = "unknown fault kind " + std::string(kind) +
                " (drop, drop-each, status, delay, door, loss)";
        return std::nullopt;
    }
    f.kind = known->kind;
    const std::uint32_t max = known->max;
    std::uint32_t code = 0;
    if (!number(rest.substr(c1 + 1, c2 - c1 - 1), 255, code)) {
        error = "bad command code in fault " + std::string(text) + " (0..255)";
        return std::nullopt;
    }
    f.code = static_cast<std::uint8_t>(code);
    if (f.kind == CommandFault::Kind::Door) {
        // The second field names the door; the fault is one of the open-door command.
        if (code < 1) {
            error = "bad door in fault " + std::string(text) + " (1..255)";
            return std::nullopt;
        }
        f.door = static_cast<int>(code);
        f.code = kOpenDoor;
    }
    if (!number(rest.substr(c2 + 1), max, f.value)) {
        error = "bad value in fault " + std::string(text) + " (0.." + std::to_string(max) + ")";
        return std::nullopt;
    }
    return f;
}

const CommandFault* CommandFaults::first(CommandFault::Kind kind, std::uint32_t address,
                                         std::uint8_t code) const {
    for (const auto& f : faults_)
        if (f.kind == kind && applies(f, address, code))
            return &f;
    return nullptr;
}

std::optional<std::uint8_t> CommandFaults::statusFor(std::uint32_t address,
                                                     std::uint8_t code) const {
    const CommandFault* f = first(CommandFault::Kind::Status, address, code);
    if (!f)
        return std::nullopt;
    return static_cast<std::uint8_t>(f->value);
}

std::chrono::milliseconds CommandFaults::delayFor(std::uint32_t address, std::uint8_t code) const {
    const CommandFault* f = first(CommandFault::Kind::Delay, address, code);
    return std::chrono::milliseconds(f ? f->value : 0);
}

std::map<int, std::uint8_t> CommandFaults::doorStatuses(std::uint32_t address) const {
    std::map<int, std::uint8_t> out;
    for (const auto& f : faults_)
        if (f.kind == CommandFault::Kind::Door && applies(f, address, kOpenDoor))
            out.emplace(f.door, static_cast<std::uint8_t>(f.value));
    return out;
}

bool CommandFaults::dropReply(std::size_t controller, std::uint32_t address,
                              const SimRequest& request) {
    bool drop = false;
    for (std::size_t i = 0; i < faults_.size(); ++i) {
        const CommandFault& f = faults_[i];
        if (f.kind == CommandFault::Kind::Loss && applies(f, address, request.command)) {
            if (std::uniform_int_distribution<std::uint32_t>(0, 99)(rng_) < f.value)
                drop = true;
            continue;
        }
        bool each = f.kind == CommandFault::Kind::DropEach;
        if ((f.kind != CommandFault::Kind::Drop && !each) || !applies(f, address, request.command))
            continue;
        std::string item;
        if (each)
            item.assign(request.payload.begin(), request.payload.end());
        std::uint32_t& count = dropped_[std::make_tuple(i, controller, item)];
        if (count < f.value) {
            ++count;
            drop = true;
        }
    }
    return drop;
}

} // namespace quorvane::sim
