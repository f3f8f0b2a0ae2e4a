#include "infra/tool_log.h"

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

std::string threadTag() {
    char buf[32];
    std::snprintf(buf, sizeof buf, "[%06d]", platform::threadId());
    return buf;
}

std::string closingBanner() { return timeStamp() + " $$$$$$日志文件关闭$$$$$$$\n"; }

} // namespace

ToolLog::ToolLog(std::uint64_t maxBytes) : maxBytes_(maxBytes) {}

ToolLog::~ToolLog() { closeToolLog(); }

void ToolLog::setMaxBytes(std::uint64_t maxBytes) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    maxBytes_ = maxBytes;
}

void ToolLog::openToolLog(const std::string& path) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    openLocked(path);
}

void ToolLog::openLocked(const std::string& path) {
    path_ = path;
    closeLocked();
    file_ = std::fopen(path.c_str(), "a");
    if (!file_) return;
    std::string ts = timeStamp();
    std::string tag = threadTag();
    std::string banner = ts + " ===========================================================\n" +
                         ts + " " + tag + " Open log file name = " + path + "，进程ID=" +
                         std::to_string(platform::processId()) + "\n" + ts + " " + tag +
                         " tarvex sdk build=" + std::to_string(QUORVANE_BUILD_NUMBER) +
                         " time=" + __DATE__ + " " + __TIME__ + "\n";
    std::string gbk = toGbk(banner);
    std::fwrite(gbk.data(), 1, gbk.size(), file_);
    std::fflush(file_);
}

void ToolLog::closeToolLog() {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    closeLocked();
}

void ToolLog::closeLocked() {
    if (!file_) return;
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
    std::string gbk = toGbk(text);
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    writeLocked(gbk);
    if (echo_) std::cout << timeStamp() << " " << text << std::flush;
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
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    writeLocked(*gbk);
    if (echo_) std::cout << timeStamp() << " " << fromGbk(*gbk) << std::flush;
}

void ToolLog::writeLocked(std::string_view gbkText) {
    if (!file_) return;
    long long pos = ftello(file_);
    if (pos > 0 && static_cast<std::uint64_t>(pos) > maxBytes_) {
        // Past the limit the file is discarded and begun again with a fresh banner.
        std::string path = path_;
        closeLocked();
        platform::removeFile(path);
        openLocked(path);
        if (!file_) return;
    }
    std::string prefix = timeStamp() + " " + threadTag() + " ";
    std::string line = prefix;
    line.append(gbkText);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

std::string hexDump(Bytes data) {
    constexpr std::size_t kLimit = 1024;
    std::size_t n = std::min(data.size(), kLimit);
    std::string out;
    out.reserve(n / 16 * 80 + 80);
    char buf[16];
    for (std::size_t line = 0; line < n; line += 16) {
        std::snprintf(buf, sizeof buf, "0x%08zx  ", line);
        out += buf;
        std::size_t end = std::min(line + 16, n);
        for (std::size_t i = line; i < end; ++i) {
            std::snprintf(buf, sizeof buf, "%02X ", data[i]);
            out += buf;
        }
        // Pad a short last line so that its characters line up with the full lines.
        for (std::size_t i = end; i < line + 16; ++i) out += "   ";
        out += "  ";
        for (std::size_t i = line; i < end; ++i) {
            unsigned char c = data[i];
            out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
        }
        out += "\n";
    }
    if (data.size() > kLimit) out += "length excceed limit, not all content was processed.\n";
    return out;
}

bool writeTextFile(ToolLog* log, const std::string& path, std::string_view text) {
    if (platform::replaceFile(path, text)) return true;
    if (log) log->writeLogLine("写文本文件数据失败，文件名=" + path + "\n");
    return false;
}

bool writeBinaryFile(ToolLog* log, const std::string& path, Bytes data) {
    std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    if (platform::replaceFile(path, bytes)) return true;
    if (log) log->writeLogLine("写二进制文件数据失败，文件名=" + path + "\n");
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
