#pragma once
// What every command that works on one controller shares: a started session that waits for
// replies, and the device chosen with -d IP (refreshed first) or --record FILE.
#include <optional>
#include <span>
#include <vector>

#include "cli_context.h"
#include "model/device_info.h"
#include "session/tool_session.h"

namespace quorvane::cli {

// -d/--device IP and --record FILE, for the option tables of such commands.
inline constexpr DeclaredOption kDeviceOptions[] = {
    {"--device", Arity::Value, "-d"},
    {"--record", Arity::Value},
};

// The session of a command that talks to controllers: the tool log stays off the terminal,
// the operation password of the common options fills every frame, and one-shot commands wait
// for their reply.
class OnlineSession {
  public:
    explicit OnlineSession(CliContext& ctx);
    ~OnlineSession();
    OnlineSession(const OnlineSession&) = delete;
    OnlineSession& operator=(const OnlineSession&) = delete;
    ToolSession& operator*() { return session_; }
    ToolSession* operator->() { return &session_; }

  private:
    ToolSession session_;
};

// The device of -d IP, refreshed with the device-information request (to any id) on the
// device port, or of --record FILE. Nothing after printing why, with the exit code in code:
// a silent device prints the refresh's timeout text (1); no or two choices, or an address that
// is not one, are usage errors (2).
std::optional<DeviceUIInfo> selectDevice(CliContext& ctx, ToolSession& session, int& code);

// The common shape of a one-controller command: a session, the device of -d or --record (or
// the exit code of why there is none), then the operation; its result is the exit code.
template <class Operation> int onSelectedDevice(CliContext& ctx, Operation run) {
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return run(*session, device);
}

// The device at ip, refreshed as -d IP refreshes it (commands that name several devices, such
// as copy-config --from IP --to IP). Nothing after printing why, with the exit code in code.
std::optional<DeviceUIInfo> refreshNamedDevice(CliContext& ctx, ToolSession& session,
                                               const std::string& ip, int& code);

// The controllers of --from IP and each --to IP (commands that copy from one controller to
// others), every address checked before any is refreshed. Nothing after printing why, with the
// exit code in code; usage (2) when an option is missing.
struct CopyDevices {
    DeviceUIInfo source;
    std::vector<DeviceUIInfo> targets;
};
std::optional<CopyDevices> selectCopyDevices(CliContext& ctx, ToolSession& session, int& code);

// The common shape of a copy command: a session, the devices of --from and --to, then the
// operation; its result is the exit code.
template <class Operation> int onCopyDevices(CliContext& ctx, Operation run) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto devices = selectCopyDevices(ctx, *session, code);
    if (!devices)
        return code;
    return run(*session, *devices);
}

} // namespace quorvane::cli
