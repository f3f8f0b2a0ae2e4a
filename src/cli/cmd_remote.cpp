// open, open-all, reset, clear-log, self-test: the one-shot commands of the main window, each
// waiting for its reply.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ostream>

#include "commands.h"
#include "device_selection.h"
#include "protocol/admin_channel.h"
#include "protocol/frame.h"
#include "protocol/open_door.h"
#include "remote/remote_commands.h"

namespace quorvane::cli {

namespace {

int exitCodeOf(int result) {
    if (result == 0)
        return kOk;
    return result == kDeclined ? kAnsweredNo : kFailed;
}

// The open time of --ms, or of --state as the window's menu gives it (the state value x 10).
// Any number is taken: the operation refuses one that the time value cannot carry, with its
// message.
std::optional<long> openTime(CliContext& ctx) {
    const std::string* state = ctx.args.value("--state");
    if (ctx.args.has("--ms") == (state != nullptr)) {
        *ctx.err << "give the open time with --ms T or a state with --state\n";
        return std::nullopt;
    }
    if (state) {
        static constexpr std::pair<std::string_view, RelayCommand> kStates[] = {
            {"auto", RelayCommand::Auto},
            {"release", RelayCommand::HoldReleased},
            {"hold", RelayCommand::HoldEnergised},
            {"on", RelayCommand::Energise},
            {"off", RelayCommand::Release}};
        for (auto [name, command] : kStates)
            if (*state == name)
                return static_cast<long>(command) * 10;
        *ctx.err << "option --state takes auto, release, hold, on or off, not " << *state << "\n";
        return std::nullopt;
    }
    long ms = 0;
    if (!numberOption(ctx, "--ms", 0, LONG_MAX, ms))
        return std::nullopt;
    return ms;
}

// --door N (1-based), required.
std::optional<int> doorIndex(CliContext& ctx) {
    long door = 0;
    if (!ctx.args.has("--door")) {
        *ctx.err << "option --door is required\n";
        return std::nullopt;
    }
    if (!numberOption(ctx, "--door", 1, kDoorCount, door))
        return std::nullopt;
    return static_cast<int>(door - 1);
}

// A session, the device of -d or --record, then the operation and its exit code.
template <class Operation> int onDevice(CliContext& ctx, Operation run) {
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return exitCodeOf(run(s, d));
    });
}

// A flag word in decimal or 0x-prefixed hexadecimal.
std::optional<std::uint32_t> flagWord(CliContext& ctx) {
    const std::string* text = ctx.args.value("--flags");
    if (!text) {
        *ctx.err << "option --flags is required\n";
        return std::nullopt;
    }
    const bool hexadecimal = text->starts_with("0x") || text->starts_with("0X");
    const std::string digits = hexadecimal ? text->substr(2) : *text;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(digits.c_str(), &end, hexadecimal ? 16 : 10);
    if (digits.empty() || digits[0] == '-' || digits[0] == '+' || *end != 0 || errno == ERANGE ||
        v > 0xFFFFFFFFull) {
        *ctx.err << "option --flags takes a number from 0 to 4294967295 (or 0x0 to 0xFFFFFFFF), "
                    "not "
                 << *text << "\n";
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(v);
}

} // namespace

int cmdOpen(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    auto door = doorIndex(ctx);
    auto ms = door ? openTime(ctx) : std::nullopt;
    if (!ms)
        return kUsage;
    return onDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return openDoor(s, d, *door, *ms);
    });
}

// The window asks Yes (the selected controller) / No (every controller) / Cancel; here -d
// makes that choice and only the go-ahead is asked.
int cmdOpenAll(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    auto door = doorIndex(ctx);
    long ms = 0;
    if (!door || !ctx.args.has("--ms") || !numberOption(ctx, "--ms", 0, LONG_MAX, ms)) {
        if (door && !ctx.args.has("--ms"))
            *ctx.err << "option --ms is required\n";
        return kUsage;
    }
    OnlineSession session(ctx);
    std::uint16_t targetId = kAnyTarget;
    const bool one = ctx.args.has("--device") || ctx.args.has("--record");
    if (one) {
        int code = kOk;
        auto device = selectDevice(ctx, *session, code);
        if (!device)
            return code;
        targetId = device->getTargetId();
    }
    if (!ctx.port->askYesNo(one ? "通过广播消息开启当前选中设备的继电器吗？"
                                : "通过广播消息开启网络中所有设备的继电器吗？"))
        return kAnsweredNo;
    const bool multicast = ctx.settings->readInt("net", "enable-mcast", 1) != 0;
    return exitCodeOf(sendOpenAll(*session, session->channel().configuredSearchTarget(multicast),
                                  targetId, *door, ms));
}

int cmdReset(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onDevice(ctx, resetDevice);
}

int cmdClearLog(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onDevice(ctx, clearLog);
}

int cmdSelfTest(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    auto flags = flagWord(ctx);
    if (!flags)
        return kUsage;
    return onDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return selfTest(s, d, *flags);
    });
}

} // namespace quorvane::cli
