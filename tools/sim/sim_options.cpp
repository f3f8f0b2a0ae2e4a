#include "sim_options.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

namespace quorvane::sim {

const char* const kSimHelp =
    R"(quorvane-sim: simulated door-access controllers speaking the administration protocol.

Usage: quorvane-sim [OPTIONS]

Controllers
  --count N                 number of controllers (default 8)
  --first-address A         address of the first controller; the others follow, skipping
                            addresses ending in .0 and .255 (default 127.0.0.1)
  --address A               one controller at A; repeat for more (overrides --count)
  --block KIND              basic, extended or mixed (every second one extended); default basic
  --name-prefix TEXT        device names are TEXT followed by the number (default 门禁)
  --group N                 group number of every controller (default 1)
  --right-mode N            right record format of every controller (D404): 0 stores rights
                            of 20 bytes, 1 (default) and 2 of 24 bytes
  --large-rights            controllers start with option 3 (large right capacity): rights
                            go to the FLASH hash pages first, then to the EEPROM overflow
  --logs N                  every controller starts with N log records of every kind

Network
  --port N                  administration port (default 65534)
  --bind A                  local address of the socket (default 0.0.0.0: every controller
                            address, and broadcasts)
  --multicast-group G       also answer searches sent to group G ...
  --multicast-port N        ... on port N (default 3366) ...
  --multicast-interface A   ... joined on the interface with address A (required with a group)
  --allow-remote            answer senders outside 127.0.0.0/8 (only inside a test network
                            namespace); by default they are ignored
  --rate N                  send at most N replies per second (default: no limit)

Faults drawn at random
  --drop RATE               drop each reply with probability RATE (0..1)
  --delay MS                send every reply MS milliseconds late
  --duplicate RATE          send a reply twice with probability RATE
  --corrupt RATE            break the checksum of a reply with probability RATE
  --seed N                  seed of the fault generator; equal seeds repeat a run (default 1)

Faults per command (repeatable; C is the REQUEST code in decimal, as the tool sends it, e.g.
16 for open door, whose reply is 17; counts are kept per controller)
  --fault drop:C:N          drop the first N replies to requests with code C
  --fault drop-each:C:N     drop the first N replies to each distinct request with code C;
                            requests with the same payload count as one (a resend)
  --fault status:C:S        answer code C with status S (reply C+1, empty payload) and leave
                            the controller's state as it was
  --fault delay:C:MS        send the replies to code C MS milliseconds late (on top of --delay)
  --fault door:D:S          answer open-door requests for door D (1..164) with status S and
                            leave that relay as it was (status 0: the door failed)
  --fault loss:C:P          drop each reply to code C with probability P percent (0..100),
                            drawn from a generator seeded with --seed
  --fault KIND:C:V@A        the same, only for the controllers at address A
                            A dropped reply's command still took effect: only the answer is
                            lost. Of several status or delay faults for one code the first
                            given applies; drop faults each count on their own.

State dump
  --dump FILE               write every controller's state as JSON to FILE on SIGUSR1 and when
                            the simulator stops; FILE is replaced whole (temporary file, then
                            rename), and each dump prints "dump N" on standard output, N
                            counting from 1. The document:
                              {"dump": N, "reason": "request" | "exit",
                               "controllers": [{"address": "127.0.0.1", "targetId": 258,
                                 "requests": {"<request code>": count, ...},
                                 "configuration": {"form", "name", "mac", "ip", "mask",
                                   "gateway", "hostAddress", "devicePort", "hostPort",
                                   "reportMode", "groupNo", "deviceNo", "ipAlloc",
                                   "netTimeout", "passTimeout", "firmware", "serverAddress",
                                   "serverPort", "systemStatus", "reportIndex", "insideLimit",
                                   "basicWrites", "doorWrites",
                                   "basicBlock": hex as reported (116 or 192 bytes),
                                   "doorBlock": hex of the 424-byte door-access block,
                                   "clearAlls", "backup", "factory": null, or
                                     {"basicBlock", "reportIndex", "insideLimit",
                                      "doorSettings": hex of D32..D423}},
                                 "remote": {"clock": "YYYY-MM-DD HH:MM:SS",
                                   "clockOffsetSeconds", "restarts", "logClears",
                                   "selfTests", "testFlags", "testFlagBits": [bit, ...],
                                   "lastDoor",
                                   "relays": [{"door", "mode": "auto" | "held-released" |
                                     "held-energised" | "energised" | "released" | "pulse",
                                     "openMs" (pulse only), "commands",
                                     "failStatus" (door fault only)}, x4],
                                   "extensionRelays": [the same, for doors 5..164 once
                                     commanded or given a door fault],
                                   "payloads": {"<request code>": hex of the last payload
                                     of 16, 38, 40, 64, 66, 243}},
                                 "rights": {"count", "recordLength": 20 | 24,
                                   "storage": "hashed" | "overflow",
                                   "records": [{"position", "right": hex of the stored
                                     bytes}, ...] in position order, "checks",
                                   "checksPassed", "swipes",
                                   "lastSwipe": {"card", "reader", "granted"} (after one)},
                                 "memory": {"firmware" | "eeprom" | "flash" | "sound":
                                   {"pages"}},
                                 "logs": {"count", "identityDocuments"},
                                 "text": {"received": [text, ...]}}, ...]}

Other
  --verbose                 one line per request on standard error
  --help                    this text

Commands answered (status 1 unless the request is malformed): 2 device information,
4 write basic configuration, 12 read door-access configuration, 14 write door-access
configuration, 16 open door (doors 1..164), 38 set time, 40 read time, 50 clear all data,
64 clear log (the controller then restarts), 66 restart, 96 back up configuration, 98 back up
as factory settings, 100 restore the backup (status 0 without one), 102 restore the factory
settings (status 0 without them), 48 get records (one reply 49 per index of the range, a
record of kind 0 past the end), 84 get identity documents (one reply 85 per index; three
fixture documents: a resident card, a residence permit, a permanent-residence card), 241 fill
the log with test records, 243 self test (return code: the number of test actions run;
a word with none, or with a bit other than 0..3 and 16..27, fails with 0 or that bit's number;
bit 3 clears the log, bit 0 restarts); rights: 18 add (status 0 when no slot is free; a card
added again replaces its right), 20 remove (0: no such card), 22 check (0: no right for the
card at that reader), 24 clear, 52 read by position (positions count storage slots from 1;
with search forward the first right at or after it; position -1 after the last), 114
simulated swipe (status: admitted), 116 read by card (24 zero bytes when the card has none).
Rights are kept in EEPROM and FLASH as the right-storage image lays them out; the door-access
block's right count is their number. Any other command gets
the general error reply 255 with status 0xFF, a request with a wrong checksum the same reply
with status 0xFD. The process prints "ready" on standard output once its sockets are open,
and stops on SIGTERM or SIGINT.
)";

namespace {
bool number(const std::string& text, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text.c_str(), &end, 10);
    return !text.empty() && *end == 0 && out >= lo && out <= hi;
}
bool rate(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == 0 && out >= 0 && out <= 1;
}
} // namespace

std::optional<SimOptions> parseSimOptions(int argc, char** argv, bool& help) {
    SimOptions o;
    help = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "--help" || a == "-h") {
            help = true;
            return o;
        }
        if (a == "--allow-remote") {
            o.allowRemote = true;
            continue;
        }
        if (a == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (a == "--large-rights") {
            o.largeRights = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::cerr << "quorvane-sim: " << a << " needs a value (see --help)\n";
            return std::nullopt;
        }
        std::string v = argv[++i];
        long long n = 0;
        bool ok = true;
        if (a == "--count")
            ok = number(v, 1, 1000000, n), o.count = int(n);
        else if (a == "--first-address")
            o.firstAddress = v;
        else if (a == "--address")
            o.addresses.push_back(v);
        else if (a == "--block")
            ok = v == "basic" || v == "extended" || v == "mixed", o.block = v;
        else if (a == "--name-prefix")
            o.namePrefix = v;
        else if (a == "--group")
            ok = number(v, 0, 255, n), o.group = int(n);
        else if (a == "--logs")
            ok = number(v, 0, 2000000, n), o.logs = long(n);
        else if (a == "--right-mode")
            ok = number(v, 0, 2, n), o.rightMode = std::uint32_t(n);
        else if (a == "--port")
            ok = number(v, 1, 65535, n), o.port = std::uint16_t(n);
        else if (a == "--bind")
            o.bindAddress = v;
        else if (a == "--multicast-group")
            o.multicastGroup = v;
        else if (a == "--multicast-port")
            ok = number(v, 1, 65535, n), o.multicastPort = std::uint16_t(n);
        else if (a == "--multicast-interface")
            o.multicastInterface = v;
        else if (a == "--rate")
            ok = number(v, 0, 100000000, n), o.rate = int(n);
        else if (a == "--drop")
            ok = rate(v, o.dropRate);
        else if (a == "--duplicate")
            ok = rate(v, o.duplicateRate);
        else if (a == "--corrupt")
            ok = rate(v, o.corruptRate);
        else if (a == "--delay")
            ok = number(v, 0, 600000, n), o.delayMs = int(n);
        else if (a == "--seed")
            ok = number(v, 0, 0xFFFFFFFFll, n), o.seed = std::uint32_t(n);
        else if (a == "--dump")
            ok = !v.empty(), o.dumpPath = v;
        else if (a == "--fault") {
            std::string error;
            auto fault = parseCommandFault(v, error);
            if (!fault) {
                std::cerr << "quorvane-sim: " << error << " (see --help)\n";
                return std::nullopt;
            }
            o.faults.push_back(*fault);
        } else {
            std::cerr << "quorvane-sim: unknown option " << a << " (see --help)\n";
            return std::nullopt;
        }
        if (!ok) {
            std::cerr << "quorvane-sim: bad value for " << a << ": " << v << "\n";
            return std::nullopt;
        }
    }
    if (!o.multicastGroup.empty() && o.multicastInterface.empty()) {
        std::cerr << "quorvane-sim: --multicast-group needs --multicast-interface\n";
        return std::nullopt;
    }
    return o;
}

} // namespace quorvane::sim
