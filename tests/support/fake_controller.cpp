#include "fake_controller.h"

#include "protocol/frame.h"
#include "sample_frames.h"

namespace quorvane::test {

UdpController::Script FakeController::adapt(Script script) {
    if (!script)
        return {};
    return [script = std::move(script)](const SentFrame& f) { return script(f.bytes); };
}

std::vector<std::string> FakeController::bytesOf(const std::vector<SentFrame>& frames) {
    std::vector<std::string> out;
    for (const auto& f : frames)
        out.push_back(f.bytes);
    return out;
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
