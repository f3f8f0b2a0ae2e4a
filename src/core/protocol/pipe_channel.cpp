#include "protocol/pipe_channel.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include <ace/Guard_T.h>
#include <ace/OS_NS_sys_time.h>

#include "infra/codepage.h"
#include "infra/settings.h"
#include "infra/tool_log.h"
#include "protocol/named_pipe.h"
#include "protocol/pipe_message.h"
#include "protocol/reply_dispatch.h"

namespace quorvane {

namespace {
constexpr int kWaitForInstanceMs = 1000;
constexpr int kStopWaitSeconds = 5;
// A relayed command sent with timeout 0 still gets its answer: the read waits this long for it
// instead of blocking without limit.
constexpr int kZeroTimeoutReadMs = 5000;
} // namespace

Pipe_Thread_Pool::Pipe_Thread_Pool(Settings& settings, ReplyDispatcher& dispatcher, PipeHooks hooks)
    : settings_(settings), dispatcher_(dispatcher), hooks_(std::move(hooks)) {}

Pipe_Thread_Pool::~Pipe_Thread_Pool() {
    // This class's own close: the worker must stop before the members it uses go.
    Pipe_Thread_Pool::close();
    wait();
    // Messages not yet sent when the worker stopped are not sent.
    ACE_Message_Block* mb = nullptr;
    ACE_Time_Value now(ACE_Time_Value::zero);
    while (msg_queue()->dequeue_head(mb, &now) != -1) {
        if (mb->msg_type() != ACE_Message_Block::MB_STOP)
            delete reinterpret_cast<PipeMessage*>(mb->base());
        mb->release();
    }
}

void Pipe_Thread_Pool::logLine(const std::string& text) {
    dispatcher_.logLine(text);
}

void Pipe_Thread_Pool::reportRefusal(const std::string& reason) {
    logLine(reason + "\n");
    // A pipe of someone else is a matter for the person, not only for the log; once a run.
    if (!refusalShown_.exchange(true))
        dispatcher_.notice(reason);
}

int Pipe_Thread_Pool::start() {
    return activate(THR_NEW_LWP | THR_JOINABLE, 1);
}

int Pipe_Thread_Pool::runningWorkers() const {
    ACE_Guard<ACE_Thread_Mutex> g(poolMutex_);
    return running_;
}

int Pipe_Thread_Pool::svc() {
    {
        ACE_Guard<ACE_Thread_Mutex> g(poolMutex_);
        ++running_;
    }
    for (;;) {
        ACE_Message_Block* mb = nullptr;
        if (getq(mb) == -1)
            break;
        logLine("入库队列中等待处理的消息数量=" + std::to_string(msg_queue()->message_count()) +
                "\n");
        auto* message = mb->msg_type() == ACE_Message_Block::MB_STOP
                            ? nullptr
                            : reinterpret_cast<PipeMessage*>(mb->base());
        if (!message) {
            mb->release();
            break;
        }
        sendPipe_i(*message);
        delete message;
        mb->release();
    }
    ACE_Guard<ACE_Thread_Mutex> g(poolMutex_);
    --running_;
    workersChanged_.broadcast();
    return 0;
}

int Pipe_Thread_Pool::close(u_long) {
    // A worker that was started but has not reached its loop yet counts as well, or it would
    // wait for a block that never comes.
    int workers = std::max(runningWorkers(), static_cast<int>(thr_count()));
    for (int i = 0; i < workers; ++i)
        putq(new ACE_Message_Block(0, ACE_Message_Block::MB_STOP));
    stopReading_.signal();
    ACE_Guard<ACE_Thread_Mutex> g(poolMutex_);
    ACE_Time_Value until = ACE_OS::gettimeofday() + ACE_Time_Value(kStopWaitSeconds);
    while (running_ > 0)
        if (workersChanged_.wait(&until) == -1)
            break;
    return 0;
}

void Pipe_Thread_Pool::sendPipe(Bytes data, const std::string& addressText,
                                const std::string& identityText, int timeoutMs, int waitFlag) {
    if (data.size() > kPipeMaxFrame) {
        logLine("pipe frame of " + std::to_string(data.size()) + " bytes not queued\n");
        return;
    }
    auto* message = new (std::nothrow) PipeMessage;
    if (!message) {
        // Without memory for the message a block without one is queued, which stops a worker.
        putq(new ACE_Message_Block(0, ACE_Message_Block::MB_STOP));
        return;
    }
    message->address = addressText;
    message->identity = identityText;
    message->data.assign(data.begin(), data.end());
    message->timeoutMs = timeoutMs;
    message->waitFlag = waitFlag;
    auto* mb = new ACE_Message_Block(reinterpret_cast<char*>(message), sizeof(PipeMessage));
    if (putq(mb) == -1) {
        delete message;
        mb->release();
    }
}

void Pipe_Thread_Pool::sendPipe_i(const PipeMessage& message) {
    if (settings_.readInt("net", "enable-pipe", 1) == 0 || !listServiceDevices())
        return;
    const bool search = message.address.empty() && message.identity.empty();
    struct Busy {
        const PipeHooks& hooks;
        bool on;
        ~Busy() {
            if (on && hooks.endBusy)
                hooks.endBusy();
        }
    } busy{hooks_, search && hooks_.beginBusy && hooks_.endBusy};
    if (busy.on)
        hooks_.beginBusy();

    const std::string server = settings_.readString("net", "pipe-server", "127.0.0.1");
    const std::string name = settings_.readString("net", "pipe-name", "kelmorhub");
    PipeRequest request;
    request.address = message.address;
    request.identity = message.identity;
    request.timeoutMs = static_cast<std::uint32_t>(message.timeoutMs);
    request.waitFlag = static_cast<std::uint32_t>(message.waitFlag);
    request.kind = kPipeRelay;
    request.payload.assign(message.data.begin(), message.data.end());

    std::string refusal;
    if (!CNamedPipe::wait(server, name, kWaitForInstanceMs, &refusal, dispatcher_.clock())) {
        if (!refusal.empty())
            reportRefusal(refusal);
        else
            logLine("instance of the specified named pipe is not available to be connected to\n");
        return;
    }
    CNamedPipe pipe;
    if (!pipe.open(server, name)) {
        if (!pipe.refusal().empty())
            reportRefusal(pipe.refusal());
        else
            logLine("Failed to connect to the specified named pipe\n");
        return;
    }
    if (!pipe.write(asBytes(buildPipeRequest(request)))) {
        logLine("Failed in call to read from the specified named pipe\n");
        return;
    }

    using clock = std::chrono::steady_clock;
    const auto span =
        std::chrono::milliseconds(message.timeoutMs > 0 ? message.timeoutMs : kZeroTimeoutReadMs);
    std::vector<std::uint8_t> answer(kPipeBufferSize);
    auto deadline = clock::now() + span;
    for (;;) {
        // The read itself ends at the deadline and returns the moment an answer arrives.
        auto r = pipe.read(answer, deadline, &stopReading_);
        if (r.status != platform::LocalPipe::Status::Message)
            break;
        auto parsed = readPipeAnswer(Bytes(answer.data(), r.size));
        if (!parsed) {
            // Shorter than the header: no frame to hand on. The deadline stays as it was.
            continue;
        }
        if (parsed->end)
            break;
        dispatcher_.handleReply(parsed->frame, parsed->sender, false);
        if (message.waitFlag == 1 && !search)
            break;
        deadline = clock::now() + span;
    }
    pipe.close();
    if (search)
        sendPipe_update_i();
}

void Pipe_Thread_Pool::sendPipe_update_i() {
    if (settings_.readInt("net", "enable-pipe", 1) == 0 || !listServiceDevices() ||
        settings_.readInt("net", "enable-pipe-update", 0) == 0)
        return;
    std::string text = hooks_.updateText ? hooks_.updateText() : std::string();
    if (text.empty())
        return;
    PipeRequest request;
    request.address = "0";
    request.identity = "0";
    request.timeoutMs = 0;
    request.waitFlag = 1;
    request.kind = kPipeUpdate;
    request.payload = toGbk(text);
    std::vector<std::uint8_t> out(kPipeBufferSize);
    std::size_t read = 0;
    int rc = CNamedPipe::call(settings_.readString("net", "pipe-server", "127.0.0.1"),
                              settings_.readString("net", "pipe-name", "kelmorhub"),
                              asBytes(buildPipeRequest(request)), out, read, dispatcher_.clock());
    // Logged as the platform's pipe call reports: 1 for a transaction that went through, 0
    // for one that failed.
    logLine("clientPipe.Call return " + std::to_string(rc == 0 ? 1 : 0) + "\n");
}

} // namespace quorvane
