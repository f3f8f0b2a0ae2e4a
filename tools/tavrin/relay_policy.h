#pragma once
// What the service sends for a pipe client: only whole, well-formed request frames, a search
// only as a device-information request, and a relay only to one controller's own address.
#include <string>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane::tavrin {

// Empty when frame is a request frame whose prefix, length field (the frame ends right after
// its checksum byte) and checksum are right; else why it is not.
std::string requestFrameFault(Bytes frame);
// The same, and the frame must be the device-information request a search sends.
std::string searchFrameFault(Bytes frame);
// Empty when a relay may go to target: a unicast address and a port; else why not. Directed
// broadcasts of a local network are refused by the relay socket itself (it may not broadcast).
std::string relayTargetFault(const platform::Ipv4Endpoint& target);

} // namespace quorvane::tavrin
