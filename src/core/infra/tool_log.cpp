#include "infra/tool_log.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <ctime>
#include <iostream>

#include <ace/Guard_T.h>

#include "infra/codepage.h"
#include "platform/files.h"
#include "platform/process.h"

#ifndef QUORVANE_BUILD_NUMBER
#define QUORVANE_BUILD_NUMBER 2066
#endif

namespace quorvane {

std::string timeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

namespace {

// Lines waiting before the writer writes without waiting out the gathering time.
constexpr std::size_t kGatherLines = 256;
constexpr auto kGatherTime = std::chrono::milliseconds(20);

// Formatted once per thread: the id never changes and asking for it is a system call.
const std::string& threadTag() {
    thread_local const std::string tag = [] {
        char buf[32];
        std::snprintf(buf, sizeof buf, "[%06d]", platform::threadId());
        return std::string(buf);
    }();
    return tag;
}

std::string closingBanner() {
    return timeStamp() + " $$$$$$日志文件关闭$$$$$$$\n";
}

} // namespace

ToolLog::ToolLog(std::uint64_t maxBytes) : maxBytes_(maxBytes) {}

ToolLog::~ToolLog() {
    closeToolLog();
}

void ToolLog::setMaxBytes(std::uint64_t maxBytes) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    maxBytes_ = maxBytes;
}

void ToolLog::openToolLog(const std::string& path) {
    stopWriter();
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    openLocked(path);
    if (!file_)
        return;
    std::lock_guard l(queueMutex_);
    accepting_ = true;
    writer_ = std::thread([this] { writerLoop(); });
}

void ToolLog::openLocked(const std::string& path) {
    path_ = path;
    closeLocked();
    file_ = platform::openAppendStream(path);
    if (!file_)
        return;
    std::string ts = timeStamp();
    std::string tag = threadTag();
    std::string banner = ts + " ===========================================================\n" +
                         ts + " " + tag + " Open log file name = " + path +
                         "，进程ID=" + std::to_string(platform::processId()) + "\n" + ts + " " +
                         tag + " tarvex sdk build=" + std::to_string(QUORVANE_BUILD_NUMBER) +
                         " time=" + __DATE__ + " " + __TIME__ + "\n";
    std::string gbk = toGbk(banner);
    std::fwrite(gbk.data(), 1, gbk.size(), file_);
    std::fflush(file_);
    long long size = ftello(file_);
    fileBytes_ = size > 0 ? static_cast<std::uint64_t>(size) : 0;
}

void ToolLog::closeToolLog() {
    stopWriter();
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    closeLocked();
}

void ToolLog::closeLocked() {
    if (!file_)
        return;
    std::string gbk = toGbk(closingBanner());
    std::fwrite(gbk.data(), 1, gbk.size(), file_);
    std::fclose(file_);
    file_ = nullptr;
}

bool ToolLog::isOpen() const {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    return file_ != nullptr;
}

void ToolLog::writeLogLine(std::string_view text) {
    std::string stamp = timeStamp();
    if (echo_)
        std::cout << stamp + " " + std::string(text) << std::flush;
    enqueue(Pending{stamp + " " + threadTag() + " ", std::string(text), true, {}});
}

void ToolLog::writeLogLineWide(std::u16string_view text) {
    auto gbk = utf16ToGbk(text);
    if (!gbk) {
        char buf[160];
        std::snprintf(buf, sizeof buf,
                      "UNICODE2LOCAL error2, lastError=%d, wcslen=%zu, bufferLen=%d\n", 0,
                      text.size(), 10240);
        gbk = buf;
    } else if (gbk->size() > 10239) {
        // Never half a double-byte character at the cut.
        gbk = gbkCutBytes(*gbk, 10239);
    }
    std::string stamp = timeStamp();
    if (echo_)
        std::cout << stamp + " " + fromGbk(*gbk) << std::flush;
    enqueue(Pending{stamp + " " + threadTag() + " ", std::move(*gbk), false, {}});
}

void ToolLog::writeLogDump(std::string_view head, Bytes data) {
    std::string stamp = timeStamp();
    if (echo_)
        std::cout << stamp + " " + std::string(head) + hexDump(data) + "\n" << std::flush;
    enqueue(Pending{stamp + " " + threadTag() + " ", std::string(head), true,
                    std::vector<std::uint8_t>(data.begin(), data.end())});
}

void ToolLog::enqueue(Pending line) {
    bool wake;
    {
        std::lock_guard l(queueMutex_);
        // A closed log writes nothing.
        if (!accepting_)
            return;
        queue_.push_back(std::move(line));
        ++handedIn_;
        // The writer sleeps on an empty queue, then gathers until kGatherLines wait.
        wake = queue_.size() == 1 || queue_.size() == kGatherLines;
    }
    if (wake)
        queued_.notify_one();
}

void ToolLog::flush() {
    std::unique_lock l(queueMutex_);
    const std::uint64_t target = handedIn_;
    flushWanted_ = std::max(flushWanted_, target);
    queued_.notify_one();
    written_.wait(l, [&] { return done_ >= target || !accepting_; });
}

// Writes whatever has gathered since the last round, and flushes the file once per round.
void ToolLog::writerLoop() {
    for (;;) {
        std::vector<Pending> lines;
        bool stop;
        {
            std::unique_lock l(queueMutex_);
            queued_.wait(l, [this] { return !queue_.empty() || stopWriter_; });
            queued_.wait_for(l, kGatherTime, [this] {
                return queue_.size() >= kGatherLines || stopWriter_ || flushWanted_ > done_;
            });
            lines.swap(queue_);
            stop = stopWriter_;
        }
        if (!lines.empty()) {
            ACE_Guard<ACE_Thread_Mutex> g(mutex_);
            for (const auto& line : lines)
                writeLocked(line);
            if (file_)
                std::fflush(file_);
        }
        {
            std::lock_guard l(queueMutex_);
            done_ += lines.size();
            if (stop && queue_.empty()) {
                accepting_ = false;
                written_.notify_all();
                return;
            }
        }
        written_.notify_all();
    }
}

void ToolLog::stopWriter() {
    {
        std::lock_guard l(queueMutex_);
        stopWriter_ = true;
    }
    queued_.notify_one();
    if (writer_.joinable())
        writer_.join();
    std::lock_guard l(queueMutex_);
    stopWriter_ = false;
    accepting_ = false;
}

void ToolLog::writeLocked(const Pending& line) {
    if (!file_)
        return;
    if (fileBytes_ > maxBytes_) {
        // Past the limit the file is discarded and begun again with a fresh banner.
        std::string path = path_;
        closeLocked();
        platform::removeFile(path);
        openLocked(path);
        if (!file_)
            return;
    }
    std::string out = line.prefix;
    out.append(line.utf8 ? toGbk(line.text) : line.text);
    if (!line.dump.empty())
        out += hexDump(line.dump) + "\n";
    std::fwrite(out.data(), 1, out.size(), file_);
    fileBytes_ += out.size();
}

std::string hexDump(Bytes data) {
    constexpr std::size_t kLimit = 1024;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::size_t n = std::min(data.size(), kLimit);
    std::string out;
    out.reserve((n / 16 + 1) * 80 + 64);
    // Spelled out digit by digit: every reply of a search burst is dumped.
    char offset[16];
    for (std::size_t line = 0; line < n; line += 16) {
        std::snprintf(offset, sizeof offset, "0x%08zx  ", line);
        out += offset;
        std::size_t end = std::min(line + 16, n);
        for (std::size_t i = line; i < end; ++i) {
            out.push_back(kDigits[data[i] >> 4]);
            out.push_back(kDigits[data[i] & 0x0F]);
            out.push_back(' ');
        }
        // Pad a short last line so that its characters line up with the full lines.
        out.append((line + 16 - end) * 3, ' ');
        out += "  ";
        for (std::size_t i = line; i < end; ++i) {
            unsigned char c = data[i];
            out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
        }
        out += "\n";
    }
    if (data.size() > kLimit)
        out += "length excceed limit, not all content was processed.\n";
    return out;
}

bool writeTextFile(ToolLog* log, const std::string& path, std::string_view text) {
    if (platform::replaceFile(path, text))
        return true;
    if (log)
        log->writeLogLine("写文本文件数据失败，文件名=" + path + "\n");
    return false;
}

bool writeBinaryFile(ToolLog* log, const std::string& path, Bytes data) {
    std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    if (platform::replaceFile(path, bytes))
        return true;
    if (log)
        log->writeLogLine("写二进制文件数据失败，文件名=" + path + "\n");
    return false;
}

void debugPrint(const char* format, ...) {
    char buf[10240];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, 10201, format, ap);
    va_end(ap);
    std::cerr << buf << "\r\n";
}

} // namespace quorvane
