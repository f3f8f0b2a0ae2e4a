#include "session/start_gate.h"

#include "infra/codepage.h"
#include "infra/md5.h"

namespace quorvane {
namespace {

constexpr std::string_view kSection = "db";
constexpr std::string_view kDigestKey = "xstr";
constexpr std::string_view kMarkerKey = "xstr-rem";
constexpr std::string_view kPasswordSalt = "vorpex";
constexpr std::string_view kMarkerSalt = "zuq";
constexpr std::size_t kTextBuffer = 1024;

std::string storedDigest(const Settings& settings) {
    return settings.readString(kSection, kDigestKey, {}, kTextBuffer);
}

} // namespace

std::string startPasswordDigest(std::string_view password) {
    return md5Hex(toGbk(password) + std::string(kPasswordSalt));
}

std::string rememberMarker(std::string_view xstr) {
    return md5Hex(toGbk(xstr) + std::string(kMarkerSalt));
}

bool startGateRemembered(const Settings& settings) {
    std::string marker = settings.readString(kSection, kMarkerKey, {}, kTextBuffer);
    return !marker.empty() && marker == rememberMarker(storedDigest(settings));
}

bool startGateCheckPassword(const Settings& settings, std::string_view password, bool remember) {
    const std::string xstr = storedDigest(settings);
    if (startPasswordDigest(password) != xstr)
        return false;
    const std::string marker = remember ? rememberMarker(xstr) : std::string();
    // Leave the file alone when the marker already reads as it should.
    if (settings.readString(kSection, kMarkerKey, {}, kTextBuffer) != marker)
        settings.writeString(kSection, kMarkerKey, marker);
    return true;
}

std::string changeStartPassword(const Settings& settings, std::string_view first,
                                std::string_view second) {
    if (first != second)
        return "两次输入的密码不一致！";
    if (!settings.writeString(kSection, kDigestKey, startPasswordDigest(first)))
        return "保存失败！";
    return "操作成功！";
}

} // namespace quorvane
