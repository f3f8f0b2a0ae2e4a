#include "rights/right_settings.h"

#include "infra/settings.h"

namespace quorvane {

int readRightMode(const Settings& settings) { return settings.readInt("common", "right-mode", 0); }

CardOptions readCardOptions(const Settings& settings) {
    CardOptions o;
    o.threeByte = settings.readInt("options", "force-3byte-card", 0) != 0;
    o.eightDigitHex = settings.readInt("options", "force-8byte-hex", 1) != 0;
    o.hexReverse = settings.readInt("options", "force-8bytehex-reverse", 0) != 0;
    return o;
}

std::uint32_t readSiteCode(const Settings& settings) {
    return static_cast<std::uint32_t>(settings.readInt("options", "code", 0));
}

RightSettings readRightSettings(const Settings& settings) {
    return {readRightMode(settings), readCardOptions(settings), readSiteCode(settings)};
}

} // namespace quorvane
