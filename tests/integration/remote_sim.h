#pragma once
// quorvane-sim with its state dump in a program directory of the test's own.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "integration_home.h"
#include "sim_dump_request.h"

namespace quorvane::test {

struct RemoteSim {
    explicit RemoteSim(std::vector<std::string> extra = {}, int portOffset = 0, int count = 3)
        : h(portOffset), dumpFile(h.home + "/dump.json"), sim([&] {
              extra.insert(extra.end(), {"--count", std::to_string(count), "--dump", dumpFile});
              return startSim(h.port, extra);
          }()) {}

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

} // namespace quorvane::test
