#pragma once
// The tool's own log, ".\log\控制器工具日志.txt": every line carries the local time and the
// writing thread's id; the file is deleted and begun again when it passes its size limit.
//
// A buffered writer: a line is stamped on the thread that writes it and handed to the log's
// own writer thread, which writes whatever has gathered in one go. A burst of replies, each
// dumped in hex, then costs its handler a queue append instead of a write to disk. The writer
// lets lines gather for a moment (kGatherTime, or until kGatherLines wait) before it writes,
// so that replies coming one at a time do not wake it once each.
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <ace/Thread_Mutex.h>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::string_view kToolLogName = "控制器工具日志.txt";

class ToolLog {
  public:
    explicit ToolLog(std::uint64_t maxBytes = 15360ull * 1048576ull);
    ~ToolLog();
    ToolLog(const ToolLog&) = delete;
    ToolLog& operator=(const ToolLog&) = delete;

    void setMaxBytes(std::uint64_t maxBytes);
    // Closes an open log with its closing banner, opens path for appending and writes the
    // opening banner. When the file cannot be opened the log stays closed.
    void openToolLog(const std::string& path);
    // Writes every line handed in so far, then the closing banner.
    void closeToolLog();
    bool isOpen() const;
    const std::string& path() const { return path_; }

    // Text is UTF-8; it is written as GBK. Also echoed (time stamp and text) on standard
    // output unless echo is off. Returns at once; the line reaches the file shortly after.
    void writeLogLine(std::string_view text);
    void writeLogLineWide(std::u16string_view text);
    // head, then data as hexDump shows it, then an empty line; the dump is formatted on the
    // writer thread.
    void writeLogDump(std::string_view head, Bytes data);
    void setEcho(bool on) { echo_ = on; }
    // Returns when every line handed in so far is in the file.
    void flush();

  private:
    // A line stamped with the time and the thread that wrote it; the text is UTF-8 or, when a
    // conversion already happened, GBK.
    struct Pending {
        std::string prefix;
        std::string text;
        bool utf8 = true;
        std::vector<std::uint8_t> dump; // shown in hex after the text, when not empty
    };
    void enqueue(Pending line);
    void writerLoop();
    void stopWriter();
    void writeLocked(const Pending& line);
    void openLocked(const std::string& path);
    void closeLocked();

    mutable ACE_Thread_Mutex mutex_; // the file and its size check
    std::FILE* file_ = nullptr;
    std::uint64_t fileBytes_ = 0; // the size of file_, counted instead of asked per line
    std::string path_;
    std::uint64_t maxBytes_;
    bool echo_ = true;

    std::mutex queueMutex_; // the lines handed in and the writer's state
    std::condition_variable queued_;
    std::condition_variable written_;
    std::vector<Pending> queue_;
    std::uint64_t handedIn_ = 0, done_ = 0;
    std::uint64_t flushWanted_ = 0; // a flush waits for the lines up to here
    bool accepting_ = false;        // the writer runs and takes lines
    bool stopWriter_ = false;
    std::thread writer_; // started and joined by open and close only
};

// "0x%08x  " offset, 16 bytes as "%02X ", two spaces, the printable characters; at most 1024
// bytes, then the limit note.
std::string hexDump(Bytes data);

// Replace the file whole; on failure one log line (log may be null).
bool writeTextFile(ToolLog* log, const std::string& path, std::string_view text);
bool writeBinaryFile(ToolLog* log, const std::string& path, Bytes data);

// One formatted line to the debugger output (standard error here).
void debugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The local time as "%Y-%m-%d %H:%M:%S".
std::string timeStamp();

} // namespace quorvane
