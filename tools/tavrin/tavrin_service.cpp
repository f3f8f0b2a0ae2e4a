#include "tavrin_service.h"

#include <algorithm>
#include <iostream>
#include <limits>
#include <vector>

#include "infra/codepage.h"
#include "infra/tool_log.h"
#include "protocol/frame.h"

namespace quorvane::tavrin {

namespace {
using clock = std::chrono::steady_clock;
constexpr int kRequestReadMs = 5000;
constexpr int kDefaultRelayMs = 3000;
// A client that reads nothing while its pipe is full is given up after this long, so that it
// cannot hold the service (which serves one client at a time) for ever.
constexpr auto kAnswerWriteLimit = std::chrono::milliseconds(2000);

// A relay waits for replies in steps this long at most, to notice a client that hung up.
constexpr int kHangUpCheckMs = 250;

int msUntil(clock::time_point t) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - clock::now()).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, std::numeric_limits<int>::max()));
}
} // namespace

TavrinService::TavrinService(ServiceConfig config, platform::Wakeup& stop)
    : config_(std::move(config)), stop_(stop) {}

void TavrinService::log(const std::string& line) {
    std::cout << timeStamp() << " " << line << std::endl;
}

bool TavrinService::open() {
    if (!udp_.open() || !udp_.setBroadcast(true) || !udp_.setReceiveBuffer(4 * 1024 * 1024) ||
        !udp_.bind(config_.bindAddress, 0)) {
        log("cannot open the UDP socket, errno " + std::to_string(udp_.lastErrno()));
        return false;
    }
    if (!config_.pipePath.empty() && !listener_.listen(config_.pipePath)) {
        log("cannot serve the pipe at " + config_.pipePath);
        return false;
    }
    return true;
}

void TavrinService::run() {
    Frame33 frame{};
    ProtocolState state;
    buildFrameHeader(frame, kAnyTarget, 2, state);
    finishFrame(frame, 0);
    search(frame, nullptr);
    log("controllers found: " + std::to_string(controllers_.size()));
    if (config_.pipePath.empty()) {
        log("pipe disabled (enable-pipe=0)");
        stop_.wait();
        return;
    }
    log("serving the pipe at " + config_.pipePath);
    for (;;) {
        auto client = listener_.accept(&stop_);
        if (!client) return;
        serve(*client);
    }
}

void TavrinService::serve(platform::LocalPipe& client) {
    std::vector<std::uint8_t> buffer(kPipeBufferSize);
    auto r = client.read(buffer, clock::now() + std::chrono::milliseconds(kRequestReadMs), &stop_);
    if (r.status != platform::LocalPipe::Status::Message) return;
    auto request = parsePipeRequest(Bytes(buffer.data(), r.size));
    if (!request || r.truncated) {
        log("pipe request dropped: " + std::to_string(r.size) + " bytes");
        end(client);
        return;
    }
    if (request->kind == kPipeUpdate) {
        storeUpdate(request->payload);
        end(client);
        return;
    }
    if (request->kind != kPipeRelay) {
        log("pipe request of unknown kind " + std::to_string(request->kind));
        end(client);
        return;
    }
    if (request->isSearch()) search(asBytes(request->payload), &client);
    else relay(*request, client);
    end(client);
}

void TavrinService::answer(platform::LocalPipe& client, const platform::Ipv4Endpoint& from,
                           Bytes frame) {
    write(client, asBytes(buildPipeAnswer(from.text(), frame)));
}

void TavrinService::end(platform::LocalPipe& client) { write(client, asBytes(kPipeEndAnswer)); }

// A client that has gone or stopped reading is closed; the exchange goes on without it.
void TavrinService::write(platform::LocalPipe& client, Bytes message) {
    if (!client.isOpen()) return;
    if (!client.write(message, clock::now() + kAnswerWriteLimit, &stop_)) {
        log("pipe client gone or not reading, errno " + std::to_string(client.lastErrno()));
        client.close();
    }
}

// Every reply until the quiet time passes without one; search replies also teach the table.
void TavrinService::search(Bytes frame, platform::LocalPipe* client) {
    if (udp_.sendTo(frame, config_.searchDestination) < 0) {
        log("search send failed, errno " + std::to_string(udp_.lastErrno()));
        return;
    }
    std::vector<std::uint8_t> buffer(kMaxDatagram);
    auto quietUntil = clock::now() + std::chrono::milliseconds(config_.quietMs);
    for (;;) {
        auto w = udp_.waitReadable(&stop_, msUntil(quietUntil));
        if (w != platform::UdpSocket::Wait::Readable) break;
        platform::Ipv4Endpoint from;
        int n = udp_.receiveFrom(buffer, from);
        if (n <= 0) continue;
        Bytes reply(buffer.data(), static_cast<std::size_t>(n));
        if (!inspectFrame(reply).isReply) continue;
        controllers_.learn(reply, from);
        if (client) answer(*client, from, reply);
        quietUntil = clock::now() + std::chrono::milliseconds(config_.quietMs);
    }
}

void TavrinService::relay(const PipeRequest& request, platform::LocalPipe& client) {
    auto target =
        controllers_.resolve(request.address, request.identity, config_.searchDestination.port);
    if (!target) {
        log("relay to unknown controller \"" + request.address + "\"");
        return;
    }
    Bytes frame = asBytes(request.payload);
    if (udp_.sendTo(frame, *target) < 0) {
        log("relay send to " + target->text() + " failed");
        return;
    }
    log("relayed " + std::to_string(frame.size()) + " bytes to " + target->text());
    const auto span = std::chrono::milliseconds(
        request.timeoutMs > 0 ? static_cast<long long>(request.timeoutMs) : kDefaultRelayMs);
    std::vector<std::uint8_t> buffer(kMaxDatagram);
    auto until = clock::now() + span;
    for (;;) {
        // Whatever timeout the request names, the wait ends when its client has gone.
        auto w = udp_.waitReadable(&stop_, std::min(msUntil(until), kHangUpCheckMs));
        if (w == platform::UdpSocket::Wait::Error) break;
        if (w == platform::UdpSocket::Wait::Woken) {
            if (stop_.wait(0) || clock::now() >= until || client.hungUp()) break;
            continue;
        }
        platform::Ipv4Endpoint from;
        int n = udp_.receiveFrom(buffer, from);
        // Only the addressed controller's replies belong to this exchange.
        if (n <= 0 || from.address != target->address) continue;
        answer(client, from, Bytes(buffer.data(), static_cast<std::size_t>(n)));
        if (request.waitFlag == 1 || !client.isOpen()) break;
        until = clock::now() + span;
    }
}

void TavrinService::storeUpdate(const std::string& text) {
    log("device-list update:\n" + fromGbk(text));
    if (!config_.dataDir.empty())
        writeTextFile(nullptr, config_.dataDir + "/pipe-devices.txt", text);
}

} // namespace quorvane::tavrin
