#include "fake_controller.h"

#include "protocol/frame.h"
#include "sample_frames.h"
#include "scripted_link.h"

namespace quorvane::test {

FakeController::FakeController(const std::string& address, int port, Script script)
    : script_(std::move(script)) {
    auto host = platform::parseIpv4(address);
    ok_ = host && sock_.open() && sock_.bind(*host, static_cast<std::uint16_t>(port));
    if (ok_)
        thread_ = std::thread([this] { loop(); });
}

FakeController::~FakeController() {
    stopping_.store(true);
    stop_.signal();
    if (thread_.joinable())
        thread_.join();
}

void FakeController::setScript(Script script) {
    std::lock_guard l(m_);
    script_ = std::move(script);
}

std::vector<std::string> FakeController::frames() const {
    std::lock_guard l(m_);
    return frames_;
}

bool FakeController::waitFrames(std::size_t n, std::chrono::milliseconds limit) {
    std::unique_lock l(m_);
    return arrived_.wait_for(l, limit, [&] { return frames_.size() >= n; });
}

void FakeController::loop() {
    std::vector<std::uint8_t> buffer(kMaxDatagram);
    while (!stopping_.load()) {
        if (sock_.waitReadable(&stop_, -1) != platform::UdpSocket::Wait::Readable)
            continue;
        platform::Ipv4Endpoint from;
        int n = sock_.receiveFrom(buffer, from);
        if (n < 0)
            continue;
        std::string frame(buffer.begin(), buffer.begin() + n);
        Script script;
        {
            std::lock_guard l(m_);
            frames_.push_back(frame);
            script = script_;
        }
        arrived_.notify_all();
        if (script)
            for (const auto& reply : script(frame))
                sock_.sendTo(asBytes(reply), from);
    }
}

std::string answer(const std::string& request, std::uint8_t status, const std::string& payload,
                   int code) {
    SentFrame f;
    f.bytes = request;
    f.info = inspectFrame(asBytes(request));
    return replyTo(f, status, payload, code);
}

std::string deviceInformation(const std::string& request, const DeviceUIInfo& record) {
    std::string reply = deviceInfoReply(record, false);
    reply[26] = request[26];
    reply[27] = request[27];
    refreshChecksum(reply);
    return reply;
}

} // namespace quorvane::test
