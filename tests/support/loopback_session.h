#pragma once
// A tool session on a scratch program directory that talks to one controller played in the
// test over loopback (UdpController), on a fake clock whose silent waits cost only its grace;
// the person's side is recorded by Port (a RecordingUserPort).
#include <chrono>
#include <memory>
#include <string>

#include "child_process.h"
#include "fake_clock.h"
#include "recording_user_port.h"
#include "session/tool_session.h"
#include "test_paths.h"
#include "udp_controller.h"

namespace quorvane::test {

template <class Port = RecordingUserPort> struct LoopbackSessionOf {
    // portOffset: the suite's own port (testPort); options: lines of the [options] section.
    LoopbackSessionOf(const std::string& name, int portOffset, const std::string& options = {})
        : home(scratchDir(name)), port(testPort(portOffset)) {
        writeConfig(options);
        device.ip = "127.0.0.2";
        device.groupNo = 1;
        device.deviceNo = 2;
    }
    ~LoopbackSessionOf() {
        if (session)
            session->stop();
    }
    void writeConfig(const std::string& options) {
        writeFile(home + "/config.ini", "[net]\ncommon-dev-admin-port=" + std::to_string(port) +
                                            "\ncommon-broadcast-address=2147483647\n"
                                            "enable-mcast=0\nenable-pipe=0\n[options]\n" +
                                            options + "\n");
    }
    // Made on first use, so that a test may change the settings first.
    ToolSession& s() {
        if (!session) {
            session = std::make_unique<ToolSession>(home, user, &clock);
            session->log().setEcho(false);
            session->start();
            session->protocol().setSequence(0x1234);
        }
        return *session;
    }

    std::string home;
    int port;
    FakeClock clock{std::chrono::milliseconds(250)};
    Port user;
    UdpController controller{"127.0.0.2", port};
    std::unique_ptr<ToolSession> session;
    DeviceUIInfo device;
};

using LoopbackSession = LoopbackSessionOf<>;

} // namespace quorvane::test
