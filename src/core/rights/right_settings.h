#pragma once
// The settings that shape rights: right-mode (section common), the three card options and the
// site code (section options). The program reads them once and passes the values on.
#include <cstdint>

#include "rights/card_number.h"

namespace quorvane {

class Settings;

int readRightMode(const Settings& settings);
CardOptions readCardOptions(const Settings& settings);
std::uint32_t readSiteCode(const Settings& settings);

} // namespace quorvane
