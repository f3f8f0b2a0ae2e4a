#pragma once
// The tool's own log, ".\log\控制器工具日志.txt": every line carries the local time and the
// writing thread's id; the file is deleted and begun again when it passes its size limit.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

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
    void closeToolLog();
    bool isOpen() const;
    const std::string& path() const { return path_; }

    // Text is UTF-8; it is written as GBK. Also echoed (time stamp and text) on standard
    // output unless echo is off.
    void writeLogLine(std::string_view text);
    void writeLogLineWide(std::u16string_view text);
    void setEcho(bool on) { echo_ = on; }

  private:
    void writeLocked(std::string_view gbkText);
    void openLocked(const std::string& path);
    void closeLocked();

    mutable ACE_Thread_Mutex mutex_;
    std::FILE* file_ = nullptr;
    std::string path_;
    std::uint64_t maxBytes_;
    bool echo_ = true;
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
