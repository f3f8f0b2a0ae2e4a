#pragma once
// The controllers the service found by its last search, and how a relay request names one:
// by global id first, then by an "ip:port" text, and by name only when that name leads to one
// controller. Sites keep default names, so two controllers (or a forged reply) often share a
// name; a request that cannot be told apart is refused, never sent to a guess.
#include <optional>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane::tavrin {

struct Resolution {
    enum class Outcome { Found, Unknown, Ambiguous } outcome = Outcome::Unknown;
    std::optional<platform::Ipv4Endpoint> target; // when found
    std::string why;                              // when not: what was wrong, for the log
};

class ControllerTable {
  public:
    // Learns a controller from a search reply frame that came from source. False when the
    // frame is not a decodable search reply.
    bool learn(Bytes frame, const platform::Ipv4Endpoint& source);
    // address: a device name, or "ip:port" / "ip" (on defaultPort); identity: a global id,
    // empty when the request names none.
    Resolution resolve(const std::string& address, const std::string& identity,
                       std::uint16_t defaultPort) const;
    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::string name;
        std::string globalId;
        platform::Ipv4Endpoint endpoint;
    };
    // The one endpoint the matching entries share, else why not.
    template <class Match> Resolution unique(Match match, const std::string& what) const;

    // One entry per controller and address it answered from: several controllers may stand
    // behind one address, and a controller may answer again after a change of name.
    std::vector<Entry> entries_;
};

} // namespace quorvane::tavrin
