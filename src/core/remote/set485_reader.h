#pragma once
// Setting the flag of an RS-485 reader through a serial port of this computer: the reader is
// named by its 8-character factory serial; the flag 1..255 is the door number it opens after a
// good card read (by default odd flags mean entry, even ones exit).
#include <string>

#include "infra/settings.h"
#include "session/user_port.h"

namespace quorvane {

// The COM port of the dialog maps to a device through `com-device` (section `port`), a path
// with one "%d" that takes the port number - 1.
inline constexpr const char* kComDeviceDefault = "/dev/ttyS%d";

struct Set485Request {
    std::string serial; // as typed (UTF-8)
    int flag = 0;       // 1..255
    int comNumber = 0;  // 1-based; 0: none chosen
};

// Checks the input (its message when wrong), opens the port at 19200 baud, 8 data bits, even
// parity, writes the 16-byte line and reads the answer. "操作成功！" and 0 when the reader took
// the flag; "操作失败！" (or why nothing was sent) and -1 otherwise.
int setReaderFlag(const Settings& settings, UserPort& port, const Set485Request& request);

} // namespace quorvane
