#include "udp_controller.h"

#include "sample_frames.h"

namespace quorvane::test {

UdpController::UdpController(const std::string& address, int port, Script script)
    : script_(std::move(script)) {
    auto a = platform::parseIpv4(address);
    ready_ = a && (platform::isLoopback(*a) || *a == 0) && socket_.open() &&
             socket_.bind(*a, static_cast<std::uint16_t>(port));
    if (ready_)
        thread_ = std::thread([this] { run(); });
}

UdpController::~UdpController() {
    stop_.signal();
    if (thread_.joinable())
        thread_.join();
}

std::vector<SentFrame> UdpController::received() const {
    std::lock_guard l(m_);
    return received_;
}

std::vector<SentFrame> UdpController::waitForFrames(std::size_t n,
                                                    std::chrono::milliseconds limit) {
    std::unique_lock l(m_);
    arrived_.wait_for(l, limit, [&] { return received_.size() >= n; });
    return received_;
}

void UdpController::setScript(Script script) {
    std::lock_guard l(m_);
    script_ = std::move(script);
}

void UdpController::run() {
    std::vector<std::uint8_t> buffer(20000);
    for (;;) {
        if (socket_.waitReadable(&stop_) != platform::UdpSocket::Wait::Readable)
            return;
        platform::Ipv4Endpoint from;
        int n = socket_.receiveFrom(buffer, from);
        if (n <= 0)
            continue;
        SentFrame f;
        f.bytes.assign(buffer.begin(), buffer.begin() + n);
        f.info = inspectFrame(asBytes(f.bytes));
        Script script;
        {
            std::lock_guard l(m_);
            received_.push_back(f);
            script = script_;
        }
        arrived_.notify_all();
        if (script)
            for (const auto& reply : script(f))
                socket_.sendTo(asBytes(reply), from);
    }
}

std::string deviceInformation(const SentFrame& request, const DeviceUIInfo& record) {
    std::string reply = deviceInfoReply(record, false);
    reply[26] = request.bytes[26];
    reply[27] = request.bytes[27];
    refreshChecksum(reply);
    return reply;
}

} // namespace quorvane::test
