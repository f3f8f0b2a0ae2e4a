#pragma once
// A serial port used synchronously: open with line settings, write a request whole, read the
// answer until it is complete or the line falls silent. Every wait ends the moment bytes
// arrive. On Linux a port is a tty device; a COM number maps to a path through a pattern.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bytes.h"

namespace quorvane::platform {

// The device of COM port number (1-based): the pattern's one "%d" replaced by number - 1
// ("/dev/ttyS%d" gives /dev/ttyS0 for COM1). Nothing for a number below 1 or a pattern without
// "%d". The pattern is never used as a format.
std::optional<std::string> serialDevicePath(std::string_view pattern, int number);

struct SerialSettings {
    enum class Parity { None, Even, Odd };
    int baud = 19200; // 1200 .. 115200
    Parity parity = Parity::Even;
    // Always 8 data bits and 1 stop bit.
};

class MWSyncCom {
  public:
    MWSyncCom() = default;
    ~MWSyncCom();
    MWSyncCom(const MWSyncCom&) = delete;
    MWSyncCom& operator=(const MWSyncCom&) = delete;

    // Opens the device for reading and writing, raw, with the settings, and drops anything
    // waiting in it. A device that refuses only the parity (a pseudo terminal ignores parity
    // and may answer EINVAL) is used without it. False (errno kept) when it cannot be opened
    // or is not a serial device.
    bool open(const std::string& path, const SerialSettings& settings);
    bool isOpen() const { return fd_ >= 0; }
    void close();

    // Writes all of data, waiting at most limit for the line to take it.
    bool write(Bytes data, std::chrono::milliseconds limit = std::chrono::seconds(2));
    // Reads into buffer: waits up to firstByte for the first byte, then goes on until the buffer
    // is full or no further byte comes within gap. The number of bytes read.
    std::size_t read(MutableBytes buffer, std::chrono::milliseconds firstByte,
                     std::chrono::milliseconds gap);

    int lastErrno() const { return errno_; }

  private:
    int fd_ = -1;
    int errno_ = 0;
};

} // namespace quorvane::platform
