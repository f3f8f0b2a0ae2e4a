#pragma once
// A pair of pseudo terminals joined by socat, standing for a serial cable: what one end writes
// the other reads. Each end is a link in the test's directory.
#include <string>

#include "child_process.h"

namespace quorvane::test {

struct SocatPty {
    // Links a and b; waits until socat has opened both.
    SocatPty(const std::string& a, const std::string& b)
        : near(a), far(b), socat({"/bin/sh", "-c",
                                  "exec socat -d -d pty,raw,echo=0,link=" + a +
                                      " pty,raw,echo=0,link=" + b + " 2>&1"}) {
        ready = socat.waitForLine("starting data transfer loop");
    }
    std::string near, far;
    ChildProcess socat;
    bool ready = false;
};

} // namespace quorvane::test
