#include "infra/settings_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include "infra/codepage.h"
#include "platform/files.h"

namespace quorvane {
namespace {

// File times advance in clock ticks of a few milliseconds: a version younger than this may
// still be replaced by one with an equal stamp (same size, reused inode, same tick).
constexpr long long kSettledNs = 100'000'000;
// Files of a few program directories at most are read by one process at a time.
constexpr std::size_t kRemembered = 8;

struct Entry {
    std::string path;
    platform::FileStamp stamp;
    bool settled = false;
    SettingsFileVersion version;
};

std::mutex cacheMutex;
std::vector<Entry>& entries() {
    static std::vector<Entry> e; // most recently used first
    return e;
}

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string problemOf(const std::string& path, const std::string& text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return "设置文件是UTF-8编码的（应为GBK编码），其中的设置无法正确读取：" + path;
    if (auto bad = firstNonGbkByte(text)) {
        auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(*bad), '\n');
        return "设置文件中有不是GBK编码的内容（第" + std::to_string(line) +
               "行），其中的设置无法正确读取：" + path;
    }
    return {};
}

SettingsFileVersion readVersion(const std::string& path, platform::FileStamp& stamp) {
    SettingsFileVersion v;
    int error = 0;
    auto text = platform::readWholeFile(path, stamp, error);
    if (!text) {
        v.exists = error != ENOENT && error != ENOTDIR;
        if (v.exists)
            v.problem = "设置文件无法读取：" + path + "（" + platform::readErrorText(error) + "）";
        return v;
    }
    v.exists = true;
    v.problem = problemOf(path, *text);
    v.index = std::make_shared<const ini::Index>(std::move(*text));
    return v;
}

} // namespace

SettingsFileVersion settingsFileVersion(const std::string& path) {
    int error = 0;
    auto current = platform::fileStamp(path, error);
    {
        std::lock_guard l(cacheMutex);
        auto& all = entries();
        auto it =
            std::find_if(all.begin(), all.end(), [&](const Entry& e) { return e.path == path; });
        if (it != all.end() && current && it->settled && it->stamp == *current) {
            std::rotate(all.begin(), it, it + 1);
            return all.front().version;
        }
    }
    Entry fresh;
    fresh.path = path;
    fresh.version = readVersion(path, fresh.stamp);
    if (!fresh.version.index)
        return fresh.version; // a missing or unreadable file is looked at again next time
    fresh.settled = nowNs() - fresh.stamp.changedNs > kSettledNs;
    std::lock_guard l(cacheMutex);
    auto& all = entries();
    all.erase(
        std::remove_if(all.begin(), all.end(), [&](const Entry& e) { return e.path == path; }),
        all.end());
    all.insert(all.begin(), fresh);
    if (all.size() > kRemembered)
        all.pop_back();
    return fresh.version;
}

void forgetSettingsFile(const std::string& path) {
    std::lock_guard l(cacheMutex);
    auto& all = entries();
    all.erase(
        std::remove_if(all.begin(), all.end(), [&](const Entry& e) { return e.path == path; }),
        all.end());
}

} // namespace quorvane
