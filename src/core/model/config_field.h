#pragma once
// One entry of the configuration block's field table and how a value is read from, and written
// into, the bytes of a block. The table itself is model/config_table.h.
//
// A field lies in one layout (the basic block, its extended part, the door-access block, or one
// of the two 28-byte settings held inside the door-access block). A field of a repeated group
// (serial ports, relays, signals, time zones, mode slots, option bits) is described once; its
// element i lies at group base + i * group stride (+ i * bit stride for bit groups).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "model/device_info.h"
#include "platform/bytes.h"

namespace quorvane {

enum class ConfigBlock : std::uint8_t {
    Basic,         // payload bytes 0..115 of the basic and the extended form
    Extended,      // bytes 116..191, present in the extended form only
    Door,          // the 424-byte door-access block (offsets D)
    ReaderSetting, // 28 bytes: the tail of a serial port entry or a whole Wiegand entry
    DeviceSetting, // the same 28 bytes when the serial port drives a display device
};

enum class FieldKind : std::uint8_t {
    Number,      // unsigned integer of 1, 2 or 4 bytes in `order`, or a bit range of it
    PackedTime,  // 16-bit little-endian hour * 2048 + minute * 32 + second / 2
    Text,        // GBK text of `width` bytes, zero padded
    CountedText, // one length byte, then GBK text of width - 1 bytes, zero padded
    Ipv4,        // four address bytes, most significant first
    Mac,         // six bytes
    Raw,         // bytes carried as they are
    Sum8,        // one byte: the 8-bit sum of every byte of the block before it
};

enum class ByteOrder : std::uint8_t { Little, Big };

// How a Number reads as text when it has no enumeration.
enum class Shown : std::uint8_t {
    Decimal,      // the value times `scale`
    Signed,       // the 32-bit value as a signed number (the counters of the device list)
    Weekdays,     // seven binary digits, Sunday (bit 6) first
    SystemStatus, // the system status text of the controller
    RunState,     // the run-state word as one line
};

struct FieldGroup {
    std::string_view key;
    std::size_t base = 0;   // byte offset of element 0 within the layout
    std::size_t stride = 0; // bytes from one element to the next
    int count = 1;
    int bitStride = 0; // bits from one element to the next (option bits share a word)
    std::string_view caption = {};
};

// The DeviceUIInfo member a basic or extended field fills when a block is decoded and is taken
// from when a record is encoded. The door-access block stays raw bytes in `doorConfig`.
using RecordMember = std::variant<
    std::monostate, std::string DeviceUIInfo::*, std::uint8_t DeviceUIInfo::*,
    std::uint16_t DeviceUIInfo::*, std::uint32_t DeviceUIInfo::*,
    std::array<std::uint8_t, 6> DeviceUIInfo::*, std::array<std::uint8_t, 10> DeviceUIInfo::*,
    std::array<std::uint8_t, 16> DeviceUIInfo::*, std::array<std::uint8_t, 32> DeviceUIInfo::*>;

struct ConfigField {
    std::string_view key;
    ConfigBlock block = ConfigBlock::Door;
    const FieldGroup* group = nullptr;
    std::size_t offset = 0; // within one group element, or within the layout
    std::size_t width = 1;  // bytes
    FieldKind kind = FieldKind::Number;
    ByteOrder order = ByteOrder::Little;
    int shift = 0; // a bit range of a Number: its lowest bit (plus index * group bit stride)
    int bits = 0;  // and its length; 0 means the whole number
    std::string_view enumKey = {}; // enumText key of a Number, empty when it has none
    std::string_view caption = {};
    bool readOnly = false; // shown, never changed by the tool (counters, identity, sums)
    Shown shown = Shown::Decimal;
    std::uint32_t scale = 1; // shown value = stored value * scale (relay open time in 10 ms)
    RecordMember member = {};
};

// Elements of the field's group (1 for a single field).
int elementCount(const ConfigField& field);
// Whether element `index` of the field lies inside a block of `blockSize` bytes.
bool fieldFits(const ConfigField& field, std::size_t blockSize, int index);
// Whether the field holds a number (Number, PackedTime, Sum8).
bool isNumeric(const ConfigField& field);
// The largest number the field can hold.
std::uint32_t fieldMax(const ConfigField& field);

// The stored number; 0 for a field that holds no number or does not fit the block.
std::uint32_t readNumber(const ConfigField& field, Bytes block, int index = 0);
// Stores value; false (block unchanged) when the field holds no number, does not fit the block,
// or value exceeds fieldMax. Other bits of a shared byte keep their values.
bool writeNumber(const ConfigField& field, MutableBytes block, int index, std::uint32_t value);

// The field's bytes; empty when element `index` does not fit the block.
Bytes fieldBytes(const ConfigField& field, Bytes block, int index = 0);
MutableBytes fieldBytes(const ConfigField& field, MutableBytes block, int index = 0);
// Copies value and zero-pads to the field's width; false when it is longer than the field or
// the field does not fit the block.
bool writeBytes(const ConfigField& field, MutableBytes block, int index, Bytes value);

// The text a person sees for a number of this field: its enumeration text, a packed time as
// "%02d:%02d:%02d", weekdays as binary digits, the system status or run-state text, or the
// decimal value times the scale.
std::string numberText(const ConfigField& field, std::uint32_t value);
// The field's value as a person sees it (texts as UTF-8, addresses dotted, MAC as
// "%02x.%02x.%02x.%02x.%02x.%02x", raw bytes as decimals joined by ","); empty when element
// `index` does not fit the block.
std::string readText(const ConfigField& field, Bytes block, int index = 0);
// The text of the field's own bytes (as fieldBytes gives them; element 0 of a bit range).
std::string bytesText(const ConfigField& field, Bytes bytes);
// Parses text as readText shows it and stores it: an enumeration text or a number, a time
// "H:M:S" or "H:M", seven binary weekday digits, a dotted address, a MAC of six hexadecimal
// parts, raw bytes as decimals joined by ",", decimal or 0x-prefixed numbers (in shown units:
// divided by the scale). A text that stands for no single value ("其它", "未知", "第%d项…")
// is not taken; write the number instead. Texts are cut to the field's width without splitting a character.
// False, with the block unchanged, for text that does not parse, a value out of range or an
// element that does not fit. The read-only flag is for the dialogs to honour; it is not checked
// here.
bool writeText(const ConfigField& field, MutableBytes block, int index, std::string_view text);

} // namespace quorvane
