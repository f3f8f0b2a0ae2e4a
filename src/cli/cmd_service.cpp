// quorvane-cli service status|start|stop: the main window's host-service buttons.
#include <ostream>

#include "commands.h"
#include "session/host_service.h"

namespace quorvane::cli {

int cmdService(CliContext& ctx) {
    const Args& args = ctx.args.positionals();
    if (args.size() != 1)
        return kUsage;
    HostService service(ctx.home, *ctx.port);
    const std::string& action = args[0];
    if (action == "status") {
        *ctx.out << serviceStatusText(service.isRunning()) << '\n';
        return kOk;
    }
    if (action != "start" && action != "stop")
        return kUsage;
    ServiceOutcome outcome = action == "start" ? service.start() : service.stop();
    ctx.port->showMessage(outcome.message);
    return outcome.ok ? kOk : kFailed;
}

} // namespace quorvane::cli
