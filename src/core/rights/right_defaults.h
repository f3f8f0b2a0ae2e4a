#pragma once
// The rights dialog's initial values from section "right" of config.ini, and "保存为默认值",
// which writes them back.
#include <string>
#include <vector>

#include "rights/right_fields.h"

namespace quorvane {

class Clock;
class Settings;

// The fields as the dialog opens: remaining uses, readers, time zones, the check boxes, type
// and group from their keys; valid from 2000-01-01 00:00:00; valid to now plus
// `default-seconds` (ten years unless set), or 2030-01-01 23:59:59 when that is 0; search
// forward from `serach-right-mode` (section common). The numbers stay empty.
RightFields readRightDefaults(const Settings& settings, const Clock& clock);

// Writes the current values to their keys of section "right" (not `default-seconds`).
void saveRightDefaults(const Settings& settings, const RightFields& fields);

// The search-forward box writes its state back to `serach-right-mode` when clicked.
void saveSearchForward(const Settings& settings, bool on);

// The entries of the type list: `man-types` (section common), split at ';'.
std::vector<std::string> readManTypes(const Settings& settings);

// The group list: "分组1" … "分组6", "管理组".
std::vector<std::string> groupNames();

} // namespace quorvane
