#pragma once
// A program directory with a config.ini for channel tests, and a dispatcher that records what
// reaches it.
#include <mutex>
#include <string>
#include <vector>

#include "infra/settings.h"
#include "protocol/reply_dispatch.h"
#include "test_paths.h"
#include "value_waiter.h"

namespace quorvane::test {

struct RecordedReply {
    std::uint8_t code;
    std::string source;
    bool viaUdp;
};

class TransportFixture {
public:
    explicit TransportFixture(const std::string& netSection) {
        home = scratchDir("transport");
        writeFile(home + "/config.ini", "[net]\n" + netSection);
        settings = std::make_unique<Settings>(home);
        dispatcher = std::make_unique<ReplyDispatcher>(nullptr, home + "/data",
                                                       [this](const std::string& t) {
                                                           std::lock_guard l(m);
                                                           notices.push_back(t);
                                                       });
        for (int code = 0; code < 256; code += 1)
            if (code % 2 == 1 || code == 255)
                dispatcher->setHandler(static_cast<std::uint8_t>(code),
                                       [this](const Reply& r) {
                                           std::lock_guard l(m);
                                           replies.push_back({r.code, r.source, r.viaUdp});
                                           arrived.set(static_cast<int>(replies.size()));
                                           return 0;
                                       });
    }
    std::vector<RecordedReply> received() {
        std::lock_guard l(m);
        return replies;
    }

    std::string home;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<ReplyDispatcher> dispatcher;
    ValueWaiter arrived;
    std::mutex m;
    std::vector<RecordedReply> replies;
    std::vector<std::string> notices;
};

// A reply frame with a code and status and no payload.
inline std::string replyFrame(std::uint8_t code, std::uint8_t status = 1) {
    std::string f(16, '\xAA');
    f.append(8, '\xFF');
    f += {'\x00', '\x01', '\x05', '\x00', static_cast<char>(code), static_cast<char>(status), 0, 0};
    f.push_back(static_cast<char>((code + status) & 0xFF));
    return f;
}

} // namespace quorvane::test
