// The list's own edits the window makes: a changed record put back in its place, emptying for
// a new search, the service-devices box, and the filter over the texts a person sees.
#include <gtest/gtest.h>

#include "session/device_list.h"

namespace quorvane {
namespace {

DeviceUIInfo row(const std::string& name, const std::string& ip, std::uint8_t deviceNo) {
    DeviceUIInfo r;
    r.name = name;
    r.ip = ip;
    r.mac = "08.00.09.00.00.0" + std::to_string(deviceNo);
    r.groupNo = 0;
    r.deviceNo = deviceNo;
    r.hwModel = 15; // "quenmar"
    r.searchModes = kFoundByBroadcast;
    return r;
}

std::string names(const DeviceList& list) {
    std::string out;
    for (const auto& r : list.snapshot())
        out += r.name;
    return out;
}

TEST(DeviceListEdits, AReplacedRowTakesItsPlaceInTheOrder) {
    DeviceList list; // by address
    for (std::uint8_t no : {1, 3, 5})
        list.addSearchReply(
            row(std::string(1, char('a' + no - 1)), "10.0.0." + std::to_string(no), no));
    DeviceUIInfo before = list.snapshot()[0];
    DeviceUIInfo after = before;
    after.name = "d";
    after.ip = "10.0.0.4";
    EXPECT_TRUE(list.replace(before, after));
    EXPECT_EQ(names(list), "cde");
    EXPECT_FALSE(list.replace(before, after)); // no longer there
    EXPECT_EQ(list.trySnapshot()->size(), 3u);
    EXPECT_TRUE(list.tryClear());
    EXPECT_EQ(list.size(), 0u);
}

TEST(DeviceListEdits, TheServiceBoxAdmitsControllersFoundThroughThePipe) {
    DeviceList list;
    DeviceUIInfo piped = row("p", "10.0.0.9", 2);
    piped.searchModes = kFoundByPipe;
    EXPECT_FALSE(list.addSearchReply(piped));
    list.setListServiceDevices(true);
    EXPECT_TRUE(list.options().listServiceDevices);
    EXPECT_TRUE(list.addSearchReply(piped));
}

TEST(DeviceListEdits, TheFilterMatchesNameIpMacFlagHardwareAndStateCaseSensitively) {
    DeviceUIInfo r = row("门一", "192.168.1.10", 3);
    for (const char* match : {"", "门", "192.168.1", "00.03", "00003", "quenmar", "广播"})
        EXPECT_TRUE(checkFilter(match, r)) << match;
    for (const char* miss : {"Quenmar", "门二", "00004"})
        EXPECT_FALSE(checkFilter(miss, r)) << miss;
}

} // namespace
} // namespace quorvane
