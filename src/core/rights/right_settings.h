#pragma once
// The settings that shape rights: right-mode (section common), the three card options and the
// site code (section options). The program reads them once and passes the values on.
#include <cstdint>

#include "rights/card_number.h"
#include "rights/right_text.h"

namespace quorvane {

class Settings;

int readRightMode(const Settings& settings);
CardOptions readCardOptions(const Settings& settings);
std::uint32_t readSiteCode(const Settings& settings);

// All of them, as a rights operation takes them.
struct RightSettings {
    int rightMode = 0;
    CardOptions cards;
    std::uint32_t siteCode = 0;

    // The text form's options: the record layout and the three-byte display.
    RightTextOptions textOptions() const { return {rightMode, cards.threeByte}; }
};
RightSettings readRightSettings(const Settings& settings);

} // namespace quorvane
