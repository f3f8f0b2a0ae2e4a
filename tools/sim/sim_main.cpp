// quorvane-sim: a network of simulated controllers in one process.
#include <csignal>
#include <iostream>
#include <sys/signalfd.h>
#include <unistd.h>

#include "platform/udp_socket.h"
#include "sim_network.h"
#include "sim_options.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {
// count addresses from first on, leaving out those ending in .0 or .255.
std::vector<std::uint32_t> controllerAddresses(const SimOptions& o) {
    std::vector<std::uint32_t> out;
    if (!o.addresses.empty()) {
        for (const auto& a : o.addresses) {
            auto v = platform::parseIpv4(a);
            if (!v)
                return {};
            out.push_back(*v);
        }
        return out;
    }
    auto first = platform::parseIpv4(o.firstAddress);
    if (!first)
        return {};
    for (std::uint32_t a = *first; static_cast<int>(out.size()) < o.count; ++a) {
        if ((a & 0xFF) == 0 || (a & 0xFF) == 0xFF)
            continue;
        out.push_back(a);
    }
    return out;
}
} // namespace

int main(int argc, char** argv) {
    bool help = false;
    auto options = parseSimOptions(argc, argv, help);
    if (help) {
        std::cout << kSimHelp;
        return 0;
    }
    if (!options)
        return 2;
    auto addresses = controllerAddresses(*options);
    if (addresses.empty()) {
        std::cerr << "quorvane-sim: bad controller address\n";
        return 2;
    }
    std::vector<SimController> controllers;
    controllers.reserve(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        ControllerSeed seed;
        seed.number = static_cast<int>(i + 1);
        seed.address = addresses[i];
        seed.port = options->port;
        seed.namePrefix = options->namePrefix;
        seed.group = options->group;
        seed.rightMode = options->rightMode;
        seed.largeRights = options->largeRights;
        seed.logs = options->logs;
        seed.extended = options->block == "extended" || (options->block == "mixed" && i % 2 == 1);
        controllers.push_back(makeController(seed));
    }

    // Stop and dump requests arrive through a signalfd read by the event loop. A test that
    // stops reading standard output must not end the simulator when it prints a dump line.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGUSR1);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);

    SimNetwork network(*options, std::move(controllers));
    if (!network.open())
        return 1;
    std::cout << "quorvane-sim: " << addresses.size() << " controllers from "
              << platform::ipv4Text(addresses.front()) << " to "
              << platform::ipv4Text(addresses.back()) << " on port " << options->port << "\n"
              << "ready" << std::endl;
    network.run(signalFd);
    network.writeDump("exit");
    ::close(signalFd);
    return 0;
}
