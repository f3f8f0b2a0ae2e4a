#include "platform/interfaces.h"

#include <ace/INET_Addr.h>
#include <ace/OS_Memory.h>
#include <ace/Sock_Connect.h>

namespace quorvane::platform {

std::vector<std::string> localInterfaces() {
    std::vector<std::string> out;
    ACE_INET_Addr* addrs = nullptr;
    size_t count = 0;
    if (ACE::get_ip_interfaces(count, addrs) != 0) return out;
    for (size_t i = 0; i < count; ++i) {
        // The enumeration also reports IPv6 addresses; the channel speaks IPv4 only.
        if (addrs[i].get_type() != AF_INET) continue;
        char text[64] = {};
        if (!addrs[i].get_host_addr(text, sizeof text)) continue;
        if (std::string(text) == "127.0.0.1") continue;
        out.emplace_back(text);
    }
    delete[] addrs;
    return out;
}

} // namespace quorvane::platform
