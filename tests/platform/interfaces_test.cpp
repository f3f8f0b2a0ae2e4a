// The interfaces offered for searching: IPv4 addresses of this machine, never the loopback one.
#include <arpa/inet.h>

#include <gtest/gtest.h>

#include "platform/interfaces.h"

namespace quorvane {
namespace {

TEST(LocalInterfaces, AreIpv4AddressesOtherThanTheLoopbackOne) {
    for (const std::string& address : platform::localInterfaces()) {
        in_addr parsed{};
        EXPECT_EQ(::inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
        EXPECT_NE(address, "127.0.0.1");
    }
}

} // namespace
} // namespace quorvane
