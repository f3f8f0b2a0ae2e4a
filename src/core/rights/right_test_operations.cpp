#include "rights/right_test_operations.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "rights/right_list_operations.h"
#include "session/quiet_notices.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {

constexpr std::uint32_t kPartModulus = 1000000;

// The pause between runs keeps the window drawn and ends early on Cancel.
void pause(ToolSession& session) {
    // Nothing notifies this pair: the wait ends by its time or by Cancel.
    std::mutex m;
    std::condition_variable cv;
    // cppcheck-suppress localMutex ; the lock serves the wait alone
    std::unique_lock lock(m);
    UserPort& port = session.port();
    waitWithPump(
        session.clock(), lock, cv, kTestRunPause, [] { return false; },
        [&port] { port.pumpEvents(); }, [&port] { return port.cancelRequested(); });
}

template <class Operation>
TestRunResult repeat(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                     RightFields fields, int runs, const RandomSource& random, Operation&& op) {
    TestRunResult result;
    QuietNotices quiet(session.dispatcher(), runs > 1);
    for (int i = 0; i < runs; ++i) {
        if (i > 0)
            pause(session);
        if (session.port().cancelRequested())
            break;
        fields.numbers = testCard(random);
        result.lastCard = fields.numbers;
        ++result.runs;
        if (op(session, selected, fields).rc != 0)
            result.rc = -1;
        if (!selected)
            break;
    }
    return result;
}

} // namespace

std::string testCard(const RandomSource& random) {
    unsigned parts[3];
    std::generate(std::begin(parts), std::end(parts),
                  [&random] { return random() % kPartModulus; });
    char text[32];
    std::snprintf(text, sizeof text, "%06u%06u%06u;", parts[0], parts[1], parts[2]);
    return text;
}

TestRunResult fillRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         RightFields fields, int runs, const RandomSource& random) {
    return repeat(session, selected, std::move(fields), runs, random, addRights);
}

TestRunResult verifyRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                           RightFields fields, int runs, const RandomSource& random) {
    return repeat(session, selected, std::move(fields), runs, random, checkRights);
}

} // namespace quorvane
