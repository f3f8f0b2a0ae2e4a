#include "tavrin_options.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

namespace quorvane::tavrin {

const char* const kTavrinHelp =
    R"(tavrin: the controllers' message receiving service; serves the tool's pipe and relays
frames to the controllers it finds.

Usage: tavrin [OPTIONS]

  --home DIR             program directory (config.ini; default $QUORVANE_HOME, else the
                         directory of this program)
  --search-address A     where the service's searches go (default: common-broadcast-address
                         of config.ini, 255.255.255.255 when missing)
  --search-port N        administration port (default: common-dev-admin-port, 65534)
  --bind A               local address of the service's UDP socket (default 0.0.0.0)
  --pipe-name NAME       pipe name (default: pipe-name of config.ini, kelmorhub)
  --quiet-ms MS          a search ends after MS milliseconds without a search reply
                         (default 3000) ...
  --search-cap-ms MS     ... and at the latest MS milliseconds after it began (default 10000)
  --relay-cap-ms MS      a relay waits for a reply at most MS milliseconds, whatever its
                         client asks for (default 30000)
  --help                 this text

The pipe is served only when enable-pipe (section net of config.ini) is not 0 when the
service starts, to processes of the same user, and by one service at a time: a second one on
the same pipe name refuses to start. Its folder must belong to this user and be closed to
everyone else. A relay goes only to one controller (named by global id, "ip:port", or a name
no other controller has) and only as a well-formed request frame. SIGTERM or SIGINT stops the
service.
)";

std::optional<TavrinOptions> parseTavrinOptions(int argc, char** argv, bool& help) {
    TavrinOptions o;
    help = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "--help" || a == "-h") {
            help = true;
            return o;
        }
        if (i + 1 >= argc) {
            std::cerr << "tavrin: " << a << " needs a value\n";
            return std::nullopt;
        }
        std::string v = argv[++i];
        char* end = nullptr;
        long n = std::strtol(v.c_str(), &end, 10);
        bool isNumber = !v.empty() && *end == 0;
        if (a == "--home")
            o.home = v;
        else if (a == "--search-address")
            o.searchAddress = v;
        else if (a == "--bind")
            o.bindAddress = v;
        else if (a == "--pipe-name")
            o.pipeName = v;
        else if (a == "--search-port" && isNumber && n > 0 && n < 65536)
            o.searchPort = static_cast<std::uint16_t>(n);
        else if (a == "--quiet-ms" && isNumber && n > 0 && n <= 600000)
            o.quietMs = static_cast<int>(n);
        else if (a == "--search-cap-ms" && isNumber && n > 0 && n <= 600000)
            o.searchCapMs = static_cast<int>(n);
        else if (a == "--relay-cap-ms" && isNumber && n > 0 && n <= 600000)
            o.relayCapMs = static_cast<int>(n);
        else {
            std::cerr << "tavrin: bad option " << a << " " << v << " (see --help)\n";
            return std::nullopt;
        }
    }
    return o;
}

} // namespace quorvane::tavrin
