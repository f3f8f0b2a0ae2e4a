#pragma once
// The remote-command tests' setting: quorvane-sim with its state dump in a program directory of
// their own, and a session of the tool that waits for each command's reply.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "integration_home.h"
#include "recording_user_port.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"

namespace quorvane::test {

struct RemoteSim {
    explicit RemoteSim(std::vector<std::string> extra = {}, int portOffset = 0, int count = 3)
        : h(portOffset), dumpFile(h.home + "/dump.json"), sim(argv(extra, count)) {}

    std::vector<std::string> argv(const std::vector<std::string>& extra, int count) const {
        std::vector<std::string> a = {
            simPath(), "--port", std::to_string(h.port), "--count", std::to_string(count),
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

} // namespace quorvane::test
