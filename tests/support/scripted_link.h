#pragma once
// A link that plays the controllers inside the test: every frame sent is recorded and the
// script's replies reach the dispatcher before the send returns, as if they had arrived at
// once. With a fake clock that jumps over silent waits, a batch with resends runs in
// microseconds and its counts are exact.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "protocol/frame.h"
#include "protocol/frame_sender.h"
#include "protocol/reply_dispatch.h"
#include "sample_frames.h"

namespace quorvane::test {

struct SentFrame {
    std::string bytes;
    DeviceTarget to;
    int route = 0;
    FrameInfo info;
    std::string payload() const { return bytes.substr(offsets::kPayload, info.length); }
};

// A reply to request from its controller: code + 1, the request's sequence echoed.
inline std::string replyTo(const SentFrame& request, std::uint8_t status = 1,
                           const std::string& payload = {}, int code = -1) {
    const auto seq = request.info.sequence;
    return replyFrame({'\x01', '\x02', char(seq & 0xFF), char(seq >> 8)},
                      code < 0 ? request.info.command + 1 : code, status, payload);
}

class ScriptedLink final : public FrameSender {
  public:
    // The replies (whole frames) to a request, in order; empty: silence.
    using Script = std::function<std::vector<std::string>(const SentFrame&)>;

    ScriptedLink(ReplyDispatcher& dispatcher, Script script, std::string source = "127.0.0.2:65534")
        : dispatcher_(dispatcher), script_(std::move(script)), source_(std::move(source)) {}

    int sendto_log(Bytes data, int, const DeviceTarget& to, int route, int, int) override {
        SentFrame f;
        f.bytes.assign(data.begin(), data.end());
        f.to = to;
        f.route = route;
        f.info = inspectFrame(data);
        {
            std::lock_guard l(m_);
            sent_.push_back(f);
        }
        for (const auto& r : script_(f))
            dispatcher_.handleReply(asBytes(r), source_, true);
        return static_cast<int>(data.size());
    }
    std::vector<SentFrame> sent() const {
        std::lock_guard l(m_);
        return sent_;
    }

  private:
    ReplyDispatcher& dispatcher_;
    Script script_;
    std::string source_;
    mutable std::mutex m_;
    std::vector<SentFrame> sent_;
};

} // namespace quorvane::test
