#pragma once
// Accepts every received datagram (from the UDP receive thread or the pipe worker), checks
// the reply preamble and the checksum, and routes the reply by its code to the handler that
// the owning operation registered. Replies are not matched to requests.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "infra/clock.h"
#include "platform/bytes.h"
#include "protocol/pending_reply_watch.h"
#include "protocol/reply_subscription.h"

namespace quorvane {

class ToolLog;

struct Reply {
    std::uint8_t code = 0;
    std::uint8_t status = 0;
    std::uint16_t sequence = 0; // the request's sequence number, as the controller echoes it
    Bytes payload;      // the payload bytes that arrived (may be fewer than the length says)
    Bytes frame;        // the whole datagram
    std::string source; // "a.b.c.d:port" or the host service's sender text
    bool viaUdp = true;
};

// A handler returns what handleReply returns for its reply (0, or -1 for a failed search
// decode).
using ReplyHandler = std::function<int(const Reply&)>;

class ReplyDispatcher {
  public:
    // dataDir: where the error captures go ("Error-sum.bin" ...); notice: shows a "系统" box.
    ReplyDispatcher(ToolLog* log, std::string dataDir,
                    std::function<void(const std::string&)> notice, Clock& clock = systemClock());

    // The standard handling of a reply code, for the life of the program (search replies,
    // notices). An operation that waits for a reply subscribes instead (ReplySubscription).
    void setHandler(std::uint8_t replyCode, ReplyHandler handler);
    // Used by ReplySubscription.
    void addSlot(std::shared_ptr<ReplySlot> slot);
    void removeSlot(const ReplySlot* slot);
    std::size_t slotCount() const;
    int handleReply(Bytes data, const std::string& source, bool viaUdp);

    // Shows text in the "系统" box unless bulk operations turned notices off.
    void notice(const std::string& text);
    void setNoticesEnabled(bool on) { noticesEnabled_.store(on); }
    bool noticesEnabled() const { return noticesEnabled_.load(); }
    // A check of several cards keeps each passed card's "权限验证通过！" to itself; it stays
    // set until the next check of one card, so a late repeated reply stays quiet too.
    void setBatchQuiet(bool on) { batchQuiet_.store(on); }
    bool batchQuiet() const { return batchQuiet_.load(); }

    // Writes a capture file in the data directory, replacing an old one.
    void writeCapture(const std::string& fileName, Bytes data);
    const std::string& dataDir() const { return dataDir_; }
    ToolLog* log() const { return log_; }
    // One line to the tool log, which echoes it on the console.
    void logLine(const std::string& text);

    // Disarmed by the replies to the two configuration writes (5 and 15).
    PendingReplyWatch pendingReply;
    Clock& clock() const { return clock_; }

  private:
    void registerStandardHandlers();

    ToolLog* log_;
    std::string dataDir_;
    Clock& clock_;
    std::function<void(const std::string&)> noticeSink_;
    std::atomic<bool> noticesEnabled_{true};
    std::atomic<bool> batchQuiet_{false};
    mutable std::mutex handlersMutex_;
    std::array<ReplyHandler, 256> handlers_;
    std::vector<std::shared_ptr<ReplySlot>> slots_;
};

} // namespace quorvane
