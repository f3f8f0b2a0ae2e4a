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

// Unsorted, a repeated reply is assigned into its row; sorted, one whose key changed moves to
// its place.
TEST(DeviceListOrder, ARepeatedReplyKeepsOrTakesItsPlace) {
    DeviceList unsorted(DeviceListOptions{true, 0, true});
    DeviceList byName(DeviceListOptions{true, 3, true});
    for (DeviceList* list : {&unsorted, &byName}) {
        for (std::uint8_t no : {3, 1, 2})
            list->addSearchReply(
                row(std::string(1, char('a' + no)), "10.0.0." + std::to_string(no), no));
        list->addSearchReply(row("e", "10.0.0.1", 1));
    }
    EXPECT_EQ(names(unsorted), "dec");
    EXPECT_EQ(names(byName), "cde");
}

TEST(DeviceListEdits, AReplacedOrLoadedRowTakesItsPlaceInTheOrder) {
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
    // A loaded record goes to the end until the next reply sorts it in.
    list.append(row("a", "10.0.0.1", 1));
    EXPECT_EQ(names(list), "cdea");
    list.addSearchReply(row("f", "10.0.0.6", 6));
    EXPECT_EQ(names(list), "acdef");
    EXPECT_TRUE(list.tryClear());
    EXPECT_EQ(list.size(), 0u);
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
