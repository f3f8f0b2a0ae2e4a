#include "rights/right_defaults.h"

#include <chrono>
#include <ctime>

#include "infra/clock.h"
#include "infra/settings.h"

namespace quorvane {

namespace {
constexpr std::string_view kRight = "right";
constexpr int kDefaultSeconds = 315360000; // ten years

bool flag(const Settings& s, std::string_view key) {
    return s.readInt(kRight, key, 0) != 0;
}

RightDateTime fromTm(const std::tm& t) {
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

RightDateTime secondsFromNow(const Clock& clock, int seconds) {
    std::time_t when = std::chrono::system_clock::to_time_t(clock.wallNow()) + seconds;
    std::tm t{};
    localtime_r(&when, &t);
    return fromTm(t);
}
} // namespace

RightFields readRightDefaults(const Settings& s, const Clock& clock) {
    RightFields f;
    f.times = static_cast<unsigned>(s.readInt(kRight, "default-times", 65535)) & 0xFFFF;
    f.readers = static_cast<unsigned>(s.readInt(kRight, "default-reader", 255)) & 0xFF;
    f.timeZones = static_cast<unsigned>(s.readInt(kRight, "default-timezone", 0)) & 0xFF;
    int seconds = s.readInt(kRight, "default-seconds", kDefaultSeconds);
    if (seconds != 0)
        f.validTo = secondsFromNow(clock, seconds);
    f.antiPassback = flag(s, "default-antiback");
    f.parcel = flag(s, "default-package");
    f.arrears = flag(s, "default-debt");
    f.userFlag1 = flag(s, "default-flag1");
    f.userFlag2 = flag(s, "default-flag2");
    f.userFlag3 = flag(s, "default-flag3");
    f.typeIndex = s.readInt(kRight, "default-mantype", 0);
    f.groupIndex = s.readInt(kRight, "default-group", 0);
    f.searchForward = s.readInt("common", "serach-right-mode", 1) != 0;
    f.localReader = flag(s, "default-enable-localreader");
    return f;
}

void saveRightDefaults(const Settings& s, const RightFields& f) {
    s.writeInt(kRight, "default-times", f.times);
    s.writeInt(kRight, "default-reader", f.readers);
    s.writeInt(kRight, "default-timezone", f.timeZones);
    s.writeInt(kRight, "default-antiback", f.antiPassback ? 1 : 0);
    s.writeInt(kRight, "default-package", f.parcel ? 1 : 0);
    s.writeInt(kRight, "default-debt", f.arrears ? 1 : 0);
    s.writeInt(kRight, "default-flag1", f.userFlag1 ? 1 : 0);
    s.writeInt(kRight, "default-flag2", f.userFlag2 ? 1 : 0);
    s.writeInt(kRight, "default-flag3", f.userFlag3 ? 1 : 0);
    s.writeInt(kRight, "default-mantype", f.typeIndex);
    s.writeInt(kRight, "default-group", f.groupIndex);
    s.writeInt(kRight, "default-enable-localreader", f.localReader ? 1 : 0);
}

void saveSearchForward(const Settings& s, bool on) {
    s.writeInt("common", "serach-right-mode", on ? 1 : 0);
}

std::vector<std::string> readManTypes(const Settings& s) {
    std::vector<std::string> types;
    std::string text = s.readString("common", "man-types", {}, 1025);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            types.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return types;
}

std::vector<std::string> groupNames() {
    return {"分组1", "分组2", "分组3", "分组4", "分组5", "分组6", "管理组"};
}

} // namespace quorvane
