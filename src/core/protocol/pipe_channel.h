#pragma once
// The pipe worker: frames handed to the host service are queued and sent, one exchange after
// another, by a single worker thread; every answer the service returns goes to handleReply.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <ace/Condition_Thread_Mutex.h>
#include <ace/Task.h>
#include <ace/Thread_Mutex.h>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane {

class Settings;
class ReplyDispatcher;

// What the worker needs from the layers above it: the rows found through the service (sent
// back to it after a search), and the window kept busy while a search through the service
// runs. Any of them may be empty.
struct PipeHooks {
    std::function<std::string()> updateText;
    std::function<void()> beginBusy;
    std::function<void()> endBusy;
};

// One queued frame, owned by the queue until the worker deletes it.
struct PipeMessage {
    std::string address;  // UTF-8; the wire keeps at most 23 GBK bytes
    std::string identity; // UTF-8; the wire keeps at most 19 GBK bytes
    std::vector<std::uint8_t> data;
    int timeoutMs = 0;
    int waitFlag = 0;
};

class Pipe_Thread_Pool : public ACE_Task<ACE_MT_SYNCH> {
  public:
    Pipe_Thread_Pool(Settings& settings, ReplyDispatcher& dispatcher, PipeHooks hooks = {});
    ~Pipe_Thread_Pool() override;

    // Starts the one worker thread.
    int start();
    int svc() override;
    // Stops the workers: one stop block per running worker, then waits (at most about 5 s)
    // until none runs. An exchange in progress stops reading at once.
    int close(u_long flags = 0) override;

    // Queues a frame for the worker; returns at once.
    void sendPipe(Bytes data, const std::string& addressText, const std::string& identityText,
                  int timeoutMs, int waitFlag);
    // The worker-side exchange for one message.
    void sendPipe_i(const PipeMessage& message);
    // Pushes the pipe-reached part of the device list to the service.
    void sendPipe_update_i();

    // The window's "list devices connected through the service" box.
    void setListServiceDevices(bool on) { listServiceDevices_.store(on); }
    bool listServiceDevices() const { return listServiceDevices_.load(); }
    int runningWorkers() const;

  private:
    void logLine(const std::string& text);
    // A pipe whose folder or server is not this user's: a log line, and a notice the first
    // time.
    void reportRefusal(const std::string& reason);

    Settings& settings_;
    ReplyDispatcher& dispatcher_;
    PipeHooks hooks_;
    std::atomic<bool> listServiceDevices_{false};
    std::atomic<bool> refusalShown_{false};

    mutable ACE_Thread_Mutex poolMutex_;
    ACE_Condition_Thread_Mutex workersChanged_{poolMutex_};
    int running_ = 0;
    platform::Wakeup stopReading_;
};

} // namespace quorvane
