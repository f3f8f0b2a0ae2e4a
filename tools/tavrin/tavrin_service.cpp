#include "tavrin_service.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <limits>
#include <vector>

#include "infra/codepage.h"
#include "infra/shown_text.h"
#include "infra/tool_log.h"
#include "protocol/frame.h"
#include "relay_policy.h"

namespace quorvane::tavrin {

namespace {
using clock = std::chrono::steady_clock;
// A client that connects must send its request within this time.
constexpr int kRequestReadMs = 5000;
constexpr int kDefaultRelayMs = 3000;
// A client that reads nothing while its pipe is full is given up after this long.
constexpr auto kAnswerWriteLimit = std::chrono::milliseconds(2000);
// An exchange waits for replies in steps this long at most, to notice a client that hung up.
constexpr int kHangUpCheckMs = 250;
// Clients served at once; more wait in the listen queue until one ends.
constexpr std::size_t kMaxClients = 32;
constexpr int kSearchReceiveBuffer = 4 * 1024 * 1024;
constexpr std::uint8_t kSearchReply = 3;

int msUntil(clock::time_point t) {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - clock::now()).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, std::numeric_limits<int>::max()));
}
} // namespace

TavrinService::TavrinService(ServiceConfig config, platform::Wakeup& stop)
    : config_(std::move(config)), stop_(stop) {}

TavrinService::~TavrinService() {
    reapClients(true);
}

void TavrinService::log(const std::string& line) {
    std::lock_guard l(logMutex_);
    // Names and addresses in a line come from pipe clients and controllers; a device-list
    // update keeps its line breaks.
    std::string shown;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find('\n', start);
        shown += shownText(std::string_view(line).substr(start, end - start), kShownLineLimit);
        if (end == std::string::npos)
            break;
        shown += '\n';
        start = end + 1;
    }
    std::cout << timeStamp() << " " << shown << std::endl;
}

bool TavrinService::openExchangeSocket(platform::UdpSocket& socket, bool broadcast) {
    return socket.open() && (!broadcast || socket.setBroadcast(true)) &&
           (!broadcast || socket.setReceiveBuffer(kSearchReceiveBuffer)) &&
           socket.bind(config_.bindAddress, 0);
}

bool TavrinService::open() {
    platform::UdpSocket probe;
    if (!openExchangeSocket(probe, true)) {
        error_ = "cannot open a UDP socket on " + platform::ipv4Text(config_.bindAddress) +
                 ", errno " + std::to_string(probe.lastErrno());
        return false;
    }
    if (!config_.pipePath.empty() && !listener_.listen(config_.pipePath)) {
        error_ = listener_.error();
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
    {
        std::lock_guard l(tableMutex_);
        log("controllers found: " + std::to_string(controllers_.size()));
    }
    if (config_.pipePath.empty()) {
        log("pipe disabled (enable-pipe=0)");
        stop_.wait();
        return;
    }
    log("serving the pipe at " + config_.pipePath);
    for (;;) {
        auto client = listener_.accept(&stop_);
        if (!client)
            break;
        // Counted after the clients that ended during the wait for this one are let go.
        reapClients(false);
        if (clients_.size() >= kMaxClients) {
            log("pipe client refused: " + std::to_string(kMaxClients) + " clients are served");
            end(*client);
            continue;
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        auto pipe = std::make_shared<platform::LocalPipe>(std::move(*client));
        clients_.push_back(Client{std::thread([this, pipe, done] {
                                      serve(*pipe);
                                      done->store(true);
                                  }),
                                  done});
    }
    reapClients(true);
}

// Joins the client threads that have ended, or (all) every one: they all watch the stop
// signal, so none outlives it by more than a wait step.
void TavrinService::reapClients(bool all) {
    for (auto it = clients_.begin(); it != clients_.end();) {
        if (all || it->done->load()) {
            it->thread.join();
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
}

void TavrinService::serve(platform::LocalPipe& client) {
    std::vector<std::uint8_t> buffer(kPipeBufferSize);
    auto r = client.read(buffer, clock::now() + std::chrono::milliseconds(kRequestReadMs), &stop_);
    if (r.status != platform::LocalPipe::Status::Message)
        return;
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
    if (request->isSearch())
        search(asBytes(request->payload), &client);
    else
        relay(*request, client);
    end(client);
}

void TavrinService::answer(platform::LocalPipe& client, const platform::Ipv4Endpoint& from,
                           Bytes frame) {
    write(client, asBytes(buildPipeAnswer(from.text(), frame)));
}

void TavrinService::end(platform::LocalPipe& client) {
    write(client, asBytes(kPipeEndAnswer));
}

// A client that has gone or stopped reading is closed; the exchange goes on without it.
void TavrinService::write(platform::LocalPipe& client, Bytes message) {
    if (!client.isOpen())
        return;
    if (!client.write(message, clock::now() + kAnswerWriteLimit, &stop_)) {
        log("pipe client gone or not reading, errno " + std::to_string(client.lastErrno()));
        client.close();
    }
}

// Search replies until the quiet time passes without one, or the cap passes; other datagrams
// neither count nor keep the search going. What this search found becomes the table.
void TavrinService::search(Bytes frame, platform::LocalPipe* client) {
    if (auto fault = searchFrameFault(frame); !fault.empty()) {
        log("search refused: " + fault);
        return;
    }
    platform::UdpSocket udp;
    if (!openExchangeSocket(udp, true) || udp.sendTo(frame, config_.searchDestination) < 0) {
        log("search send failed, errno " + std::to_string(udp.lastErrno()));
        return;
    }
    ControllerTable found;
    std::vector<std::uint8_t> buffer(kMaxDatagram);
    const auto cap = clock::now() + std::chrono::milliseconds(config_.searchCapMs);
    auto quietUntil = clock::now() + std::chrono::milliseconds(config_.quietMs);
    for (;;) {
        auto until = std::min(quietUntil, cap);
        auto w = udp.waitReadable(&stop_, msUntil(until));
        if (w != platform::UdpSocket::Wait::Readable)
            break;
        platform::Ipv4Endpoint from;
        int n = udp.receiveFrom(buffer, from);
        if (n <= 0)
            continue;
        Bytes reply(buffer.data(), static_cast<std::size_t>(n));
        FrameInfo info = inspectFrame(reply);
        if (!info.isReply || info.command != kSearchReply || !info.lengthFits)
            continue;
        found.learn(reply, from);
        if (client)
            answer(*client, from, reply);
        quietUntil = clock::now() + std::chrono::milliseconds(config_.quietMs);
    }
    if (clock::now() >= cap)
        log("search ended at its cap of " + std::to_string(config_.searchCapMs) + " ms");
    std::lock_guard l(tableMutex_);
    controllers_ = std::move(found);
}

void TavrinService::relay(const PipeRequest& request, platform::LocalPipe& client) {
    Resolution to;
    {
        std::lock_guard l(tableMutex_);
        to =
            controllers_.resolve(request.address, request.identity, config_.searchDestination.port);
    }
    if (!to.target) {
        log("relay to \"" + request.address + "\" refused: " + to.why);
        return;
    }
    const platform::Ipv4Endpoint target = *to.target;
    Bytes frame = asBytes(request.payload);
    if (auto fault = requestFrameFault(frame); !fault.empty()) {
        log("relay to " + target.text() + " refused: not a request frame: " + fault);
        return;
    }
    if (auto fault = relayTargetFault(target); !fault.empty()) {
        log("relay to " + target.text() + " refused: " + fault);
        return;
    }
    // The relay socket may not broadcast: a directed broadcast address is refused by the
    // system as well.
    platform::UdpSocket udp;
    if (!openExchangeSocket(udp, false) || udp.sendTo(frame, target) < 0) {
        log("relay to " + target.text() +
            (udp.lastErrno() == EACCES ? " refused: a broadcast address"
                                       : " failed, errno " + std::to_string(udp.lastErrno())));
        return;
    }
    log("relayed " + std::to_string(frame.size()) + " bytes to " + target.text());
    const auto span = std::chrono::milliseconds(std::min<long long>(
        request.timeoutMs > 0 ? request.timeoutMs : kDefaultRelayMs, config_.relayCapMs));
    std::vector<std::uint8_t> buffer(kMaxDatagram);
    auto until = clock::now() + span;
    for (;;) {
        // Whatever timeout the request names, the wait ends when its client has gone.
        auto w = udp.waitReadable(&stop_, std::min(msUntil(until), kHangUpCheckMs));
        if (w == platform::UdpSocket::Wait::Error)
            break;
        if (w == platform::UdpSocket::Wait::Woken) {
            if (stop_.wait(0) || clock::now() >= until || client.hungUp())
                break;
            continue;
        }
        platform::Ipv4Endpoint from;
        int n = udp.receiveFrom(buffer, from);
        // Only the addressed controller's replies belong to this exchange.
        if (n <= 0 || from.address != target.address)
            continue;
        Bytes reply(buffer.data(), static_cast<std::size_t>(n));
        if (!inspectFrame(reply).isReply)
            continue;
        answer(client, from, reply);
        if (request.waitFlag == 1 || !client.isOpen())
            break;
        until = clock::now() + span;
    }
}

void TavrinService::storeUpdate(const std::string& text) {
    log("device-list update:\n" + fromGbk(text));
    if (!config_.dataDir.empty())
        writeTextFile(nullptr, config_.dataDir + "/pipe-devices.txt", text);
}

} // namespace quorvane::tavrin
