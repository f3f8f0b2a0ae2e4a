#pragma once
// The remote-command tests' setting: quorvane-sim with its state dump in a program directory of
// their own, and a session of the tool that waits for each command's reply.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "integration_home.h"
#include "platform/udp_socket.h"
#include "recording_user_port.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"

namespace quorvane::test {

struct RemoteSim {
    explicit RemoteSim(std::vector<std::string> extra = {}, int portOffset = 0)
        : h(portOffset), dumpFile(h.home + "/dump.json"), sim(argv(extra)) {}

    std::vector<std::string> argv(const std::vector<std::string>& extra) const {
        std::vector<std::string> a = {simPath(), "--port", std::to_string(h.port), "--count", "3",
                                      "--dump",  dumpFile};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    // The dump entry of the controller at address; a null value (and a failure) without one.
    JsonValue controller(const std::string& address) {
        auto d = requestSimDump(sim, dumpFile);
        EXPECT_TRUE(d) << "no dump from the simulator";
        return d ? simController(*d, address) : JsonValue();
    }

    IntegrationHome h;
    std::string dumpFile;
    ChildProcess sim;
};

// A started session whose one-shot commands wait for their reply, as the command line's do.
struct WaitingSession {
    explicit WaitingSession(const std::string& home, Clock* clock = nullptr)
        : session(home, port, clock) {
        session.start();
        session.log().setEcho(false);
        session.setOneShotLimits(limits::kCommand);
    }
    ~WaitingSession() { session.stop(); }
    // The controller at ip as the device-information reply describes it.
    std::optional<DeviceUIInfo> device(const std::string& ip) {
        return session.refreshDevice(ip, 5000);
    }
    RecordingUserPort port;
    ToolSession session;
};

// A controller played by the test on one address and port: the frames it receives whole, and
// the answers of the test's choosing.
struct PlayedController {
    PlayedController(const char* address, int port) {
        sock.open();
        ok = sock.bind(*platform::parseIpv4(address), static_cast<std::uint16_t>(port));
    }
    std::optional<std::string> receive(int ms = 10000) {
        if (sock.waitReadable(nullptr, ms) != platform::UdpSocket::Wait::Readable)
            return std::nullopt;
        std::vector<std::uint8_t> buf(2048);
        int n = sock.receiveFrom(buf, from);
        if (n < 0)
            return std::nullopt;
        return std::string(buf.begin(), buf.begin() + n);
    }
    // A reply to request (the request code + 1, its sequence number echoed) to its sender.
    void answer(const std::string& request, std::uint8_t status, const std::string& payload = {}) {
        std::string f(16, '\xAA');
        f.append(8, '\xFF');
        f += {'\x03',
              '\x09',
              request[26],
              request[27],
              static_cast<char>(request[28] + 1),
              static_cast<char>(status),
              static_cast<char>(payload.size() >> 8),
              static_cast<char>(payload.size())};
        f += payload;
        unsigned sum = 0;
        for (std::size_t i = 28; i < f.size(); ++i)
            sum += static_cast<unsigned char>(f[i]);
        f.push_back(static_cast<char>(sum));
        sock.sendTo(asBytes(f), from);
    }
    platform::UdpSocket sock;
    platform::Ipv4Endpoint from;
    bool ok = false;
};

} // namespace quorvane::test
