#pragma once
// The start-up password gate. `xstr` in section db holds the lower-case hexadecimal MD5 of
// the password followed by a salt; `xstr-rem` holds a marker derived from `xstr` that lets a
// start pass without asking. Changing the password makes a stored marker stale.
#include <string>
#include <string_view>

#include "infra/settings.h"

namespace quorvane {

// The digest stored in `xstr` for a password (UTF-8; hashed in its GBK form).
std::string startPasswordDigest(std::string_view password);
// The remember marker for a stored `xstr`.
std::string rememberMarker(std::string_view xstr);

// True when `xstr-rem` holds the marker of the stored `xstr`: the gate opens without asking.
bool startGateRemembered(const Settings& settings);

// Checks a typed password against `xstr`. When it matches, stores the marker in `xstr-rem`
// if remember is set, else clears `xstr-rem`; a wrong password changes nothing.
bool startGateCheckPassword(const Settings& settings, std::string_view password, bool remember);

// Stores a new password when both entries agree. Returns the message to show: "操作成功！",
// "两次输入的密码不一致！", or "保存失败！" when the settings file cannot be written.
std::string changeStartPassword(const Settings& settings, std::string_view first,
                                std::string_view second);

} // namespace quorvane
