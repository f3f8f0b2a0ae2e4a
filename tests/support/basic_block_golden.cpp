#include "basic_block_golden.h"

#include <algorithm>
#include <cstring>

#include "sample_frames.h"

namespace quorvane::test {
namespace {

using Byte = std::uint8_t;

void put(std::vector<Byte>& b, std::size_t at, std::initializer_list<Byte> bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
}

void putText(std::vector<Byte>& b, std::size_t at, const char* text) {
    std::memcpy(b.data() + at, text, std::strlen(text));
}

Byte sum(const std::vector<Byte>& b, std::size_t from, std::size_t to) {
    unsigned s = 0;
    for (std::size_t i = from; i < to; ++i)
        s += b[i];
    return static_cast<Byte>(s);
}

// The door-access block, offsets from its start.
std::vector<Byte> doorBlock() {
    std::vector<Byte> d(424, 0);
    put(d, 0, {0xD2, 0x04});             // log count 1234
    put(d, 8, {56});                     // right count
    put(d, 12, {7});                     // report index
    put(d, 20, {3, 0, 2, 0, 1, 0, 100}); // in, out, inside; inside limit at 26
    put(d, 28, {0x01, 0, 0, 0x01});      // run state: bits 0 and 24
    // Serial port 1 (32 + 36i): 9600 baud, device type 16; its reader setting at 40.
    put(d, 32, {0x80, 0x25, 0, 0, 16});
    put(d, 40, {1, 1, 1, 0x03});
    put(d, 48, {2});   // slot 1 mode
    put(d, 144, {30}); // port 4: a device type past the table
    // Wiegand reader 1 (176 + 28i): leaving, relay 2, report and wait, format 1, high bits set.
    put(d, 176, {2, 2, 2, 0x21});
    put(d, 200, {7, 0, 0x15}); // slot 3: mode, weekdays, special mode 5
    put(d, 260, {7});          // Wiegand reader 4: direction past the table
    // Relays (288 + 4i): state, flags, open time in tens of ms, big-endian.
    put(d, 288, {0x00, 0x05, 0x01, 0x2C});
    put(d, 292, {0x02, 0xC2, 0x00, 0x64});
    // Signals (304 + 4i): type, door, direction, log.
    put(d, 304, {3, 1, 0, 1});
    put(d, 332, {4, 255, 2, 0});
    // Time zone 1 (336 + 8i): start 12:00:00, end 23:59:58, weekdays, three reserved bytes.
    put(d, 336, {0x00, 0x60, 0x7D, 0xBF, 0x1F, 1, 2, 3});
    put(d, 400, {0x01, 0, 0, 0x80}); // options 33 and 64
    put(d, 404, {2});                // right mode
    put(d, 408, {0x11});             // options 1 and 5
    put(d, 412, {9, 3, 5, 0, 30, 0x11, 16, 2, 8, 1, 20, 1});
    return d;
}

} // namespace

std::vector<Byte> goldenPayload(bool extended) {
    std::vector<Byte> p(extended ? 192 : 116, 0);
    put(p, 0, {4, 0xB6, 0xAB, 0xC3, 0xC5});           // name: length, then 东门 in GBK
    put(p, 16, {0x00, 0x11, 0x22, 0x33, 0x01, 0x02}); // MAC
    put(p, 22, {192, 168, 1, 20});                    // IP address
    put(p, 26, {255, 255, 255, 0});                   // mask
    put(p, 30, {192, 168, 1, 1});                     // gateway
    put(p, 34, {192, 168, 1, 100});                   // host address
    put(p, 38, {0xFF, 0xFE});                         // device port 65534, big-endian
    put(p, 40, {0xC3, 0x50});                         // host port 50000, big-endian
    put(p, 42, {1, 1, 0, 2});                         // report mode, group, variant, device
    putText(p, 46, "pw");                             // operator password
    putText(p, 52, "2018102800000001");               // product serial
    put(p, 68, {0x03});                               // reserved1
    put(p, 99, {0x04});                               // last byte of reserved2
    // IP allocation 1 (bits 0..3), block version (bits 4..5), reserved bits 2 (6..7).
    put(p, 100, {extended ? Byte{0x91} : Byte{0x81}, 10}); // then hardware model 10
    put(p, 102, {0x34, 0x12});                             // reserved3, as stored
    put(p, 104, {0x1E, 0x01, 5, 0});                       // net timeout 286, pass timeout 5, LE
    putText(p, 108, "V6.64");                              // firmware
    p[115] = sum(p, 0, 115);
    if (extended) {
        putText(p, 116, "acct");    // PPPoE account
        putText(p, 148, "secret");  // PPPoE password
        put(p, 158, {10, 0, 0, 9}); // area server
        put(p, 162, {0x23, 0x28});  // its port 9000, big-endian
        p[190] = 0xEE;              // extended marker
        p[191] = sum(p, 0, 191);
    }
    auto door = doorBlock();
    p.insert(p.end(), door.begin(), door.end());
    return p;
}

std::string goldenReply(bool extended) {
    auto p = goldenPayload(extended);
    return replyFrame({'\x01', '\x02', '\x07', '\0'}, 3, 1, std::string(p.begin(), p.end()));
}

DeviceUIInfo goldenRecord(bool extended) {
    DeviceUIInfo r;
    r.name = "东门";
    r.mac = "00.11.22.33.01.02";
    r.ip = "192.168.1.20";
    r.mask = "255.255.255.0";
    r.gateway = "192.168.1.1";
    r.hostAddress = "192.168.1.100";
    r.devicePort = 65534;
    r.hostPort = 50000;
    r.reportMode = 1;
    r.groupNo = 1;
    r.hwVariant = 0;
    r.deviceNo = 2;
    r.operatorPassword = {'p', 'w', 0, 0, 0, 0};
    const char serial[] = "2018102800000001";
    std::copy(serial, serial + 16, r.productSerial.begin());
    r.reserved1[0] = 0x03;
    r.reserved2[15] = 0x04;
    r.ipAlloc = 1;
    r.blockVersion = extended ? 1 : 0;
    r.reservedBits = 2;
    r.hwModel = 10;
    r.reserved3 = 0x1234;
    r.netTimeout = 286;
    r.passTimeout = 5;
    r.firmwareVersion = "V6.64";
    if (extended) {
        std::memcpy(r.pppoeAccount.data(), "acct", 4);
        std::memcpy(r.pppoePassword.data(), "secret", 6);
        r.serverAddress = "10.0.0.9";
        r.serverPort = 9000;
        r.extMarker = 0xEE;
    }
    auto door = doorBlock();
    std::copy(door.begin(), door.end(), r.doorConfig.begin());
    return r;
}

} // namespace quorvane::test
