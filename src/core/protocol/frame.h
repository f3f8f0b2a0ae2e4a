#pragma once
// The controller's command frame: 16 x 0x55, FF FF, six operation-password bytes, target id
// (big-endian), sequence number (little-endian), command, 0, payload length (big-endian),
// payload, and an 8-bit sum over command .. payload. Replies start with 16 x 0xAA, 8 x 0xFF
// and carry a status byte where requests carry 0.
#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kMinFrameSize = 33;
inline constexpr std::size_t kMaxDatagram = 20000;
inline constexpr std::uint16_t kAnyTarget = 0xFFFF;
inline constexpr std::uint8_t kErrorReply = 255;

namespace offsets {
inline constexpr std::size_t kPassword = 18;
inline constexpr std::size_t kTarget = 24;
inline constexpr std::size_t kSequence = 26;
inline constexpr std::size_t kCommand = 28;
inline constexpr std::size_t kStatus = 29;
inline constexpr std::size_t kLength = 30;
inline constexpr std::size_t kPayload = 32;
} // namespace offsets

// Frame buffers by size; each builder clears the whole buffer.
using Frame33 = std::array<std::uint8_t, 33>;
using Frame36 = std::array<std::uint8_t, 36>;
using Frame37 = std::array<std::uint8_t, 37>;
using Frame553 = std::array<std::uint8_t, 553>;

// The process-wide words that go into every request header. Shared between the window's
// thread and the transfer workers; atomics keep that free of data races.
class ProtocolState {
  public:
    // Takes the current sequence number and advances the counter; 0 is never handed out.
    std::uint16_t nextSequence();
    void setSequence(std::uint16_t value) { sequence_.store(value); }
    std::uint16_t peekSequence() const { return sequence_.load(); }

    // Refreshes the operation-password field from the text of the password box (GBK bytes):
    // empty gives six 0xFF; otherwise at most 6 bytes, zero-padded, with bytes 2..5 scrambled
    // as a little-endian word with the fixed key.
    void fillOpPassword(std::string_view gbkText);
    std::array<std::uint8_t, 6> opPassword() const;

  private:
    std::atomic<std::uint16_t> sequence_{1};
    std::atomic<std::uint64_t> password_{0xFFFFFFFFFFFFull};
};

// Clears the whole buffer, writes the preamble, password, target, sequence and command.
// The caller writes length, payload and checksum (or uses finishFrame). A buffer shorter than
// the 33-byte minimum is left untouched and false is returned.
bool buildFrameHeader(MutableBytes frame, std::uint16_t targetId, std::uint8_t command,
                      ProtocolState& state);
// 8-bit sum of bytes 28 .. 31 + payloadLength (0 when that range is not inside the frame).
std::uint8_t frameChecksum(Bytes frame, std::size_t payloadLength);
// Writes the payload length and the checksum after a payload already in place.
bool finishFrame(MutableBytes frame, std::size_t payloadLength);

// A whole request frame with the given payload, as bytes.
std::string buildRequest(std::uint16_t targetId, std::uint8_t command, Bytes payload,
                         ProtocolState& state);

// What a received frame says about itself, read without passing its end.
struct FrameInfo {
    bool isReply = false;   // 0xAA preamble and 8 x 0xFF
    bool isRequest = false; // 0x55 preamble and FF FF
    std::uint16_t target = 0;
    std::uint16_t sequence = 0;
    std::uint8_t command = 0;
    std::uint8_t status = 0;
    std::uint16_t length = 0;
    bool lengthFits = false; // checksum byte inside the received bytes
    bool checksumOk = false;
};
FrameInfo inspectFrame(Bytes data);
// The frame as its length field declares it (header, payload and checksum byte), without the
// bytes a datagram may carry after it; empty when the declared frame does not fit in data.
Bytes declaredFrame(Bytes data);

} // namespace quorvane
