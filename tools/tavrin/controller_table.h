#pragma once
// The controllers the service found by its own searches: where to reach each one by name,
// by global id, or by its "ip:port" text.
#include <map>
#include <optional>
#include <string>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane::tavrin {

class ControllerTable {
  public:
    // Learns a controller from a search reply frame that came from source. False when the
    // frame is not a decodable search reply.
    bool learn(Bytes frame, const platform::Ipv4Endpoint& source);
    // The address text of a relay request: a device name, or "ip:port" / "ip" (on the
    // administration port); identity (a global id) is tried when the name is unknown.
    std::optional<platform::Ipv4Endpoint> resolve(const std::string& address,
                                                  const std::string& identity,
                                                  std::uint16_t defaultPort) const;
    std::size_t size() const { return byName_.size(); }

  private:
    std::map<std::string, platform::Ipv4Endpoint> byName_;
    std::map<std::string, platform::Ipv4Endpoint> byGlobalId_;
};

} // namespace quorvane::tavrin
