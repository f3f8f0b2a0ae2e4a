#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::tavrin {

struct TavrinOptions {
    std::string home; // program directory; empty: $QUORVANE_HOME or beside us
    std::optional<std::string> searchAddress; // default: `common-broadcast-address`
    std::optional<std::uint16_t> searchPort;  // default: `common-dev-admin-port`
    std::string bindAddress = "0.0.0.0";
    std::optional<std::string> pipeName; // default: `pipe-name`
    int quietMs = 3000;                  // a search ends when no search reply came for this long
    int searchCapMs = 10000;             // and at the latest after this long
    int relayCapMs = 30000; // the longest wait for a relayed reply a client may ask for
};

extern const char* const kTavrinHelp;
std::optional<TavrinOptions> parseTavrinOptions(int argc, char** argv, bool& help);

} // namespace quorvane::tavrin
