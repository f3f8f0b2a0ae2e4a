#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "infra/settings.h"
#include "protocol/pipe_channel.h"
#include "protocol/reply_dispatch.h"
#include "scripted_link.h"
#include "test_paths.h"

namespace quorvane::test {

struct RecordedReply {
    std::uint8_t code;
    std::string source;
    bool viaUdp;
};

class ChannelFixture {
  public:
    explicit ChannelFixture(const std::string& netSection) {
        home = scratchDir("channel");
        writeFile(home + "/config.ini", "[net]\n" + netSection);
        settings = std::make_unique<Settings>(home);
        dispatcher = std::make_unique<ReplyDispatcher>(nullptr, home + "/data",
                                                       [this](const std::string& t) {
                                                           std::lock_guard l(m);
                                                           notices.push_back(t);
                                                       });
        for (int code = 1; code < 256; code += 2)
            dispatcher->setHandler(static_cast<std::uint8_t>(code), [this](const Reply& r) {
                std::lock_guard l(m);
                replies.push_back({r.code, r.source, r.viaUdp});
                arrived.notify_all();
                return 0;
            });
    }
    std::vector<RecordedReply> received() {
        std::lock_guard l(m);
        return replies;
    }
    // Until n replies have arrived; false when they have not within 20 s.
    bool waitFor(std::size_t n) {
        std::unique_lock l(m);
        return arrived.wait_for(l, std::chrono::seconds(20), [&] { return replies.size() >= n; });
    }

    std::string home;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<ReplyDispatcher> dispatcher;
    std::mutex m;
    std::condition_variable arrived;
    std::vector<RecordedReply> replies;
    std::vector<std::string> notices;
};

// A reply frame with a code, a status and a payload, to a request of sequence 5.
inline std::string replyFrame(std::uint8_t code, std::uint8_t status = 1,
                              const std::string& payload = {}) {
    SentFrame request;
    request.info.sequence = 5;
    return replyTo(request, status, payload, code);
}

// A command relayed to the controller "门禁1" through the host service.
inline PipeMessage pipeCommand(int waitFlag, int timeoutMs) {
    return PipeMessage{"门禁1", "2024000000000001", {1, 2, 3}, timeoutMs, waitFlag};
}

} // namespace quorvane::test
