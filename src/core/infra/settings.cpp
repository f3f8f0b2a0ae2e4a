#include "infra/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>

#include "infra/codepage.h"
#include "infra/ini_text.h"
#include "infra/settings_file.h"
#include "platform/files.h"

namespace quorvane {
namespace {

// The integer reader of the profile functions reads the value into a 30-character buffer.
constexpr std::size_t kIntBuffer = 30;
constexpr std::size_t kListBuffer = 10240;

// Writes are read-modify-write of a whole file; two threads saving keys of the same file
// must not lose one another's key.
std::mutex writeMutex;

std::string_view stripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string_view stripTrailingSpaces(std::string_view v) {
    while (!v.empty() && v.back() == ' ')
        v.remove_suffix(1);
    return v;
}

// The value's GBK bytes as the string reader copies them: quotes removed, or the default
// without trailing blanks when the key is missing; then cut to the buffer.
std::optional<std::string> readRaw(const std::string& path, std::string_view section,
                                   std::string_view key) {
    SettingsFileVersion file = settingsFileVersion(path);
    if (!file.index)
        return std::nullopt;
    auto value = file.index->find(toGbk(section), toGbk(key));
    if (!value)
        return std::nullopt;
    return std::string(stripQuotes(*value));
}

void reportWriteFailure(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::string line = "failed to write ini profile, name=" + path +
                       ",app=" + std::string(section) + ",key=" + std::string(key) +
                       ",value=" + std::string(value) + "\n";
    // Standard error, so that a program's own output (a JSON document) stays what it is.
    std::fputs(line.c_str(), stderr);
}

} // namespace

Settings::Settings(std::string programDir) : programDir_(std::move(programDir)) {}

std::string Settings::resolve(std::string_view name) const {
    std::string s(name);
    std::replace(s.begin(), s.end(), '\\', '/');
    if ((s.size() >= 3 && s[1] == ':') || (!s.empty() && s[0] == '/'))
        return s;
    std::string_view rest = s;
    while (rest.size() >= 2 && rest[0] == '.' && rest[1] == '/')
        rest.remove_prefix(2);
    if (programDir_.empty())
        return std::string(rest);
    std::string out = programDir_;
    if (out.back() != '/')
        out.push_back('/');
    out.append(rest);
    return out;
}

int Settings::readInt(std::string_view section, std::string_view key, int def,
                      std::string_view file) const {
    auto raw = readRaw(resolve(file), section, key);
    if (!raw)
        return def;
    const std::string v = gbkCutBytes(*raw, kIntBuffer - 1);
    std::size_t i = 0;
    while (i < v.size() && static_cast<unsigned char>(v[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        negative = v[i++] == '-';
    // Unsigned arithmetic: an overlong number wraps as the profile reader's does, without
    // undefined behaviour.
    std::uint32_t result = 0;
    std::size_t digits = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i, ++digits)
        result = result * 10u + static_cast<std::uint32_t>(v[i] - '0');
    if (digits == 0)
        return def;
    if (negative)
        result = 0u - result;
    return static_cast<int>(result);
}

std::string Settings::readString(std::string_view section, std::string_view key,
                                 std::string_view def, std::size_t bufferSize,
                                 std::string_view file) const {
    if (bufferSize == 0)
        return {};
    auto raw = readRaw(resolve(file), section, key);
    std::string gbk = raw ? std::move(*raw) : toGbk(stripTrailingSpaces(def));
    return fromGbk(gbkCutBytes(gbk, bufferSize - 1));
}

std::vector<std::string> Settings::readList(std::string_view section, std::string_view key,
                                            std::string_view file) const {
    std::string value = readString(section, key, {}, kListBuffer, file);
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos <= value.size()) {
        std::size_t semi = value.find(';', pos);
        if (semi == std::string::npos)
            semi = value.size();
        if (semi > pos)
            items.push_back(value.substr(pos, semi - pos));
        pos = semi + 1;
    }
    return items;
}

bool Settings::writeString(std::string_view section, std::string_view key, std::string_view value,
                           std::string_view file) const {
    const std::string path = resolve(file);
    const std::string gbkSection = toGbk(section);
    const std::string gbkKey = toGbk(key);
    const std::string gbkValue = toGbk(value);
    bool ok = ini::validEntry(gbkSection, gbkKey, gbkValue);
    if (ok) {
        std::lock_guard lock(writeMutex);
        // Other processes (the window and the command line on one program directory) change
        // the same file: each read-change-write holds the directory's lock, so no writer
        // replaces the file with a text read before another's change.
        platform::DirectoryLock directory(platform::parentDirectory(path));
        // A temporary file here now was left by a writer killed in the middle of its write.
        if (directory.locked())
            platform::removeStaleTemporaries(path);
        // The version the readers see is the one on disk (checked by its stamp), and no
        // other writer can change it while the lock is held.
        SettingsFileVersion current = settingsFileVersion(path);
        ok = !current.exists || current.index;
        if (ok) {
            static const std::string kNoFile;
            const std::string& text = current.index ? current.index->text() : kNoFile;
            std::string edited = ini::setValue(text, gbkSection, gbkKey, gbkValue);
            // A value that is already there is not written again: rewriting (and flushing) a
            // large file for nothing is what made a search slow.
            if (!current.exists || edited != text) {
                ok = platform::replaceFile(path, edited, platform::AtLink::WriteThrough);
                forgetSettingsFile(path);
            }
        }
    }
    if (!ok)
        reportWriteFailure(path, section, key, value);
    return ok;
}

bool Settings::writeInt(std::string_view section, std::string_view key, long long value,
                        std::string_view file) const {
    return writeString(section, key, std::to_string(value), file);
}

std::optional<std::string> Settings::fileProblem(std::string_view file) const {
    SettingsFileVersion version = settingsFileVersion(resolve(file));
    if (version.problem.empty())
        return std::nullopt;
    return version.problem;
}

StartupValues readStartupValues(const Settings& settings) {
    StartupValues v;
    v.logFileMaxSizeMiB =
        settings.readInt("options", "log-file-max-size", static_cast<int>(v.logFileMaxSizeMiB));
    v.commonDevAdminPort = settings.readInt("net", "common-dev-admin-port", v.commonDevAdminPort);
    v.mcastDevAdminPort = settings.readInt("net", "mcast-dev-admin-port", v.mcastDevAdminPort);
    return v;
}

} // namespace quorvane
