// tavrin: the host service beside the tool.
#include <csignal>
#include <iostream>

#include "infra/program_dir.h"
#include "infra/settings.h"
#include "platform/files.h"
#include "platform/local_pipe.h"
#include "tavrin_options.h"
#include "tavrin_service.h"

using namespace quorvane;
using namespace quorvane::tavrin;

namespace {
platform::Wakeup* gStop = nullptr;
extern "C" void onStopSignal(int) {
    if (gStop)
        gStop->signal(); // an eventfd write: safe in a signal handler
}
} // namespace

int main(int argc, char** argv) {
    bool help = false;
    auto options = parseTavrinOptions(argc, argv, help);
    if (help) {
        std::cout << kTavrinHelp;
        return 0;
    }
    if (!options)
        return 2;
    std::string home = options->home.empty() ? programDirectory() : options->home;
    Settings settings(home);

    ServiceConfig config;
    std::string searchAddress = options->searchAddress.value_or(platform::ipv4Text(
        static_cast<std::uint32_t>(settings.readInt("net", "common-broadcast-address", -1))));
    auto address = platform::parseIpv4(searchAddress);
    auto bind = platform::parseIpv4(options->bindAddress);
    if (!address || !bind) {
        std::cerr << "tavrin: bad address\n";
        return 2;
    }
    config.searchDestination = {*address,
                                options->searchPort.value_or(static_cast<std::uint16_t>(
                                    settings.readInt("net", "common-dev-admin-port", 65534)))};
    config.bindAddress = *bind;
    config.quietMs = options->quietMs;
    config.searchCapMs = options->searchCapMs;
    config.relayCapMs = options->relayCapMs;
    config.dataDir = settings.resolve(".\\data");
    platform::makeDirectories(config.dataDir);
    // The switch is read once, at the service's own start.
    if (settings.readInt("net", "enable-pipe", 1) != 0) {
        std::string name =
            options->pipeName.value_or(settings.readString("net", "pipe-name", "kelmorhub"));
        auto path = platform::localPipePath("127.0.0.1", name);
        if (!path) {
            std::cerr << "tavrin: bad pipe name\n";
            return 2;
        }
        config.pipePath = *path;
    }

    platform::Wakeup stop;
    gStop = &stop;
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    TavrinService service(config, stop);
    if (!service.open()) {
        std::cerr << "tavrin: " << service.error() << "\n";
        return 1;
    }
    service.run();
    gStop = nullptr;
    return 0;
}
