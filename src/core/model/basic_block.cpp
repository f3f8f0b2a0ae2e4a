#include "model/basic_block.h"

#include <algorithm>
#include <type_traits>

#include "model/config_table.h"
#include "protocol/frame.h"

namespace quorvane {

namespace {

using D = DeviceUIInfo;

// Each basic (and, for the extended form, extended) field fills the member it names.
void fillFromBlock(DeviceUIInfo& d, Bytes block, bool extended) {
    for (const ConfigField& f : configFields()) {
        if (f.block != ConfigBlock::Basic && !(extended && f.block == ConfigBlock::Extended))
            continue;
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                    auto& value = d.*member;
                    using T = std::remove_reference_t<decltype(value)>;
                    if constexpr (std::is_integral_v<T>) {
                        value = static_cast<T>(readNumber(f, block));
                    } else if constexpr (std::is_same_v<T, std::string>) {
                        value = readText(f, block);
                    } else {
                        Bytes bytes = fieldBytes(f, block);
                        std::fill(std::copy(bytes.begin(), bytes.end(), value.begin()), value.end(),
                                  0);
                    }
                }
            },
            f.member);
    }
}

// Every member into the field that names it; numbers keep the bits the field holds (the low
// byte of reportMode, two bits of blockVersion), addresses read as the record reads them.
void putIntoBlock(const DeviceUIInfo& d, MutableBytes block) {
    for (const ConfigField& f : configFields()) {
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                    const auto& value = d.*member;
                    using T = std::remove_cvref_t<decltype(value)>;
                    if constexpr (std::is_integral_v<T>) {
                        writeNumber(f, block, 0, static_cast<std::uint32_t>(value) & fieldMax(f));
                    } else if constexpr (std::is_same_v<T, std::string>) {
                        if (f.kind == FieldKind::Ipv4)
                            writeBytes(f, block, 0, parseDotted(value));
                        else if (f.kind == FieldKind::Mac)
                            writeBytes(f, block, 0, parseMac(value));
                        else
                            writeText(f, block, 0, value);
                    } else {
                        writeBytes(f, block, 0, value);
                    }
                }
            },
            f.member);
    }
}

// The sums of the given layouts, in table order so that the extended sum covers the basic one.
bool sumsHold(Bytes block, bool extended) {
    for (const ConfigField& f : configFields()) {
        if (f.kind != FieldKind::Sum8 ||
            !(f.block == ConfigBlock::Basic || (extended && f.block == ConfigBlock::Extended)))
            continue;
        if (!fieldFits(f, block.size(), 0) || readNumber(f, block) != sum8(block.first(f.offset)))
            return false;
    }
    return true;
}

} // namespace

int getUIInfoFromMsg(Bytes frame, bool& extended, DeviceUIInfo& record) {
    static const ConfigField& version = configField("blockVersion");
    static const ConfigField& marker = configField("extMarker");
    extended = false;
    constexpr std::size_t kPayload = offsets::kPayload;
    if (frame.size() < kPayload + kBasicBlockSize)
        return -3;
    Bytes p = frame.subspan(kPayload);
    // Either form is followed by the door-access block and then the frame's checksum byte: a
    // frame without room for that byte is one whose block was cut short.
    if (readNumber(version, p) == 1 && readNumber(marker, p) == kExtendedMarker) {
        extended = true;
        constexpr std::size_t kLength = kExtendedBlockSize + kDoorBlockSize; // 616
        if (p.size() < kLength + 1)
            return -2;
        // The frame's own sum over command, reserved byte, length and payload.
        if (!sumsHold(p, true) || sum8(frame.subspan(28, 4 + kLength)) != frame[kPayload + kLength])
            return -2;
    } else {
        if (!sumsHold(p.first(kBasicBlockSize), false))
            return -1;
        if (p.size() < kBasicBlockSize + kDoorBlockSize + 1)
            return -3;
    }
    std::size_t doorAt = extended ? kExtendedBlockSize : kBasicBlockSize;
    DeviceUIInfo d = record;
    fillFromBlock(d, p.first(doorAt), extended);
    std::copy_n(p.begin() + static_cast<std::ptrdiff_t>(doorAt), kDoorBlockSize,
                d.doorConfig.begin());
    record = std::move(d);
    return 0;
}

std::array<std::uint8_t, kExtendedBlockSize> encodeBasicBlock(const DeviceUIInfo& d) {
    std::array<std::uint8_t, kExtendedBlockSize> block{};
    putIntoBlock(d, block);
    for (const ConfigField& f : configFields())
        if (f.kind == FieldKind::Sum8)
            writeNumber(f, block, 0, sum8(Bytes(block).first(f.offset)));
    return block;
}

std::string recordFieldText(const DeviceUIInfo& d, const ConfigField& f) {
    return std::visit(
        [&](auto member) -> std::string {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return {};
            } else {
                const auto& value = d.*member;
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_integral_v<T>)
                    return numberText(f, static_cast<std::uint32_t>(value));
                else if constexpr (std::is_same_v<T, std::string>)
                    return value;
                else
                    return bytesText(f, value);
            }
        },
        f.member);
}

} // namespace quorvane
