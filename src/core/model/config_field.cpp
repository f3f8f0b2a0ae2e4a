#include "model/config_field.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <optional>
#include <vector>

#include "infra/codepage.h"
#include "model/enums.h"
#include "model/packed_time.h"
#include "model/status_word.h"
#include "protocol/code_tables.h"

namespace quorvane {

namespace {

std::size_t elementOffset(const ConfigField& f, int index) {
    std::size_t base =
        f.group ? f.group->base + static_cast<std::size_t>(index) * f.group->stride : 0;
    return base + f.offset;
}

int bitShift(const ConfigField& f, int index) {
    return f.shift + (f.group ? index * f.group->bitStride : 0);
}

// The whole 1-, 2- or 4-byte word the field lies in.
std::uint32_t readWord(const ConfigField& f, Bytes bytes) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < f.width; ++i) {
        std::size_t at = f.order == ByteOrder::Little ? f.width - 1 - i : i;
        v = (v << 8) | bytes[at];
    }
    return v;
}

void writeWord(const ConfigField& f, MutableBytes bytes, std::uint32_t v) {
    for (std::size_t i = 0; i < f.width; ++i) {
        std::size_t at = f.order == ByteOrder::Little ? i : f.width - 1 - i;
        bytes[at] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

std::uint32_t widthMax(std::size_t width) {
    return width >= 4 ? 0xFFFFFFFFu : (1u << (8 * width)) - 1;
}

std::uint32_t rangeMask(int bits) {
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

// Decimal, or hexadecimal after "0x"; nothing else around it.
std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

std::optional<std::uint64_t> parseSigned(std::string_view text) {
    if (text.empty() || text[0] != '-')
        return parseUnsigned(text);
    std::int64_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() ||
        v < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
}

// Parts separated by any of seps, each parsed in base with at most maxDigits digits.
template <std::size_t N>
std::optional<std::array<std::uint32_t, N>> parseParts(std::string_view text, std::string_view seps,
                                                       int base, std::size_t maxDigits) {
    std::array<std::uint32_t, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        std::size_t end = i + 1 < N ? text.find_first_of(seps) : text.size();
        if (end == std::string_view::npos)
            return std::nullopt;
        std::string_view part = text.substr(0, end);
        if (part.empty() || part.size() > maxDigits)
            return std::nullopt;
        auto [p, ec] = std::from_chars(part.data(), part.data() + part.size(), out[i], base);
        if (ec != std::errc() || p != part.data() + part.size())
            return std::nullopt;
        text.remove_prefix(std::min(text.size(), end + 1));
    }
    return out;
}

std::optional<std::uint32_t> parseTime(std::string_view text) {
    auto hms = parseParts<3>(text, ":", 10, 2);
    if (!hms) {
        auto hm = parseParts<2>(text, ":", 10, 2);
        if (!hm)
            return std::nullopt;
        hms = std::array<std::uint32_t, 3>{(*hm)[0], (*hm)[1], 0};
    }
    auto [h, m, s] = *hms;
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return packTime(static_cast<int>(h), static_cast<int>(m), static_cast<int>(s));
}

std::optional<std::uint32_t> parseWeekdays(std::string_view text) {
    if (text.size() != 7)
        return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        if (c != '0' && c != '1')
            return std::nullopt;
        v = (v << 1) | static_cast<std::uint32_t>(c - '0');
    }
    return v;
}

// The number a text stands for in this field, in stored units.
std::optional<std::uint64_t> parseNumber(const ConfigField& f, std::string_view text) {
    if (f.kind == FieldKind::PackedTime)
        return parseTime(text);
    if (!f.enumKey.empty()) {
        auto texts = enumTexts(f.enumKey);
        auto it = std::find(texts.begin(), texts.end(), text);
        if (it != texts.end())
            return static_cast<std::uint64_t>(it - texts.begin());
    }
    switch (f.shown) {
    case Shown::Weekdays:
        return parseWeekdays(text);
    case Shown::Signed:
        return parseSigned(text);
    default:
        break;
    }
    auto v = parseUnsigned(text);
    if (v && f.scale > 1)
        *v /= f.scale;
    return v;
}

std::optional<std::vector<std::uint8_t>> parseBytes(const ConfigField& f, std::string_view text) {
    std::vector<std::uint8_t> out;
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::CountedText: {
        bool counted = f.kind == FieldKind::CountedText;
        std::string gbk = gbkCut(text, counted ? f.width - 1 : f.width);
        if (counted)
            out.push_back(static_cast<std::uint8_t>(gbk.size()));
        out.insert(out.end(), gbk.begin(), gbk.end());
        return out;
    }
    case FieldKind::Ipv4: {
        auto parts = parseParts<4>(text, ".", 10, 3);
        if (!parts)
            return std::nullopt;
        for (auto p : *parts) {
            if (p > 255)
                return std::nullopt;
            out.push_back(static_cast<std::uint8_t>(p));
        }
        return out;
    }
    case FieldKind::Mac: {
        auto parts = parseParts<6>(text, ".:-", 16, 2);
        if (!parts)
            return std::nullopt;
        std::transform(parts->begin(), parts->end(), std::back_inserter(out),
                       [](std::uint32_t p) { return static_cast<std::uint8_t>(p); });
        return out;
    }
    case FieldKind::Raw: {
        if (text.empty())
            return out;
        for (;;) {
            std::size_t comma = text.find(',');
            auto v = parseUnsigned(text.substr(0, comma));
            if (!v || *v > 255 || out.size() == f.width)
                return std::nullopt;
            out.push_back(static_cast<std::uint8_t>(*v));
            if (comma == std::string_view::npos)
                return out;
            text.remove_prefix(comma + 1);
        }
    }
    default:
        return std::nullopt;
    }
}

} // namespace

int elementCount(const ConfigField& field) {
    return field.group ? field.group->count : 1;
}

bool fieldFits(const ConfigField& field, std::size_t blockSize, int index) {
    if (index < 0 || index >= elementCount(field))
        return false;
    if (field.bits > 0 && bitShift(field, index) + field.bits > static_cast<int>(8 * field.width))
        return false;
    std::size_t at = elementOffset(field, index);
    return at <= blockSize && field.width <= blockSize - at;
}

bool isNumeric(const ConfigField& field) {
    return field.kind == FieldKind::Number || field.kind == FieldKind::PackedTime ||
           field.kind == FieldKind::Sum8;
}

std::uint32_t fieldMax(const ConfigField& field) {
    if (!isNumeric(field))
        return 0;
    return field.bits > 0 ? rangeMask(field.bits) : widthMax(field.width);
}

Bytes fieldBytes(const ConfigField& field, Bytes block, int index) {
    if (!fieldFits(field, block.size(), index))
        return {};
    return block.subspan(elementOffset(field, index), field.width);
}

MutableBytes fieldBytes(const ConfigField& field, MutableBytes block, int index) {
    if (!fieldFits(field, block.size(), index))
        return {};
    return block.subspan(elementOffset(field, index), field.width);
}

std::uint32_t readNumber(const ConfigField& field, Bytes block, int index) {
    Bytes bytes = fieldBytes(field, block, index);
    if (bytes.empty() || !isNumeric(field))
        return 0;
    std::uint32_t word = readWord(field, bytes);
    if (field.bits == 0)
        return word;
    return (word >> bitShift(field, index)) & rangeMask(field.bits);
}

bool writeNumber(const ConfigField& field, MutableBytes block, int index, std::uint32_t value) {
    MutableBytes bytes = fieldBytes(field, block, index);
    if (bytes.empty() || !isNumeric(field) || value > fieldMax(field))
        return false;
    std::uint32_t word = value;
    if (field.bits > 0) {
        int shift = bitShift(field, index);
        std::uint32_t mask = rangeMask(field.bits) << shift;
        word = (readWord(field, bytes) & ~mask) | (value << shift);
    }
    writeWord(field, bytes, word);
    return true;
}

bool writeBytes(const ConfigField& field, MutableBytes block, int index, Bytes value) {
    MutableBytes bytes = fieldBytes(field, block, index);
    if (bytes.empty() || value.size() > bytes.size())
        return false;
    std::fill(std::copy(value.begin(), value.end(), bytes.begin()), bytes.end(), 0);
    return true;
}

std::string numberText(const ConfigField& field, std::uint32_t value) {
    if (field.kind == FieldKind::PackedTime)
        return packedTimeText(static_cast<std::uint16_t>(value));
    if (!field.enumKey.empty())
        return enumText(field.enumKey, static_cast<long>(value));
    switch (field.shown) {
    case Shown::Signed:
        return std::to_string(static_cast<std::int32_t>(value));
    case Shown::SystemStatus:
        return deviceStatusText(static_cast<std::int32_t>(value));
    case Shown::RunState:
        return statusWordText(value, false);
    case Shown::Weekdays: {
        std::string digits;
        for (int bit = 6; bit >= 0; --bit)
            digits += ((value >> bit) & 1) ? '1' : '0';
        return digits;
    }
    case Shown::Decimal:
        break;
    }
    return std::to_string(std::uint64_t{value} * field.scale);
}

std::string bytesText(const ConfigField& field, Bytes bytes) {
    if (bytes.size() != field.width)
        return {};
    switch (field.kind) {
    case FieldKind::Number:
    case FieldKind::PackedTime:
    case FieldKind::Sum8: {
        std::uint32_t word = readWord(field, bytes);
        if (field.bits > 0)
            word = (word >> field.shift) & rangeMask(field.bits);
        return numberText(field, word);
    }
    case FieldKind::Text:
        return fromGbk(fieldText(bytes));
    case FieldKind::CountedText: {
        std::size_t length = std::min<std::size_t>(bytes[0], field.width - 1);
        return fromGbk(fieldText(bytes.subspan(1, length)));
    }
    case FieldKind::Ipv4:
        return dottedText(bytes);
    case FieldKind::Mac:
        return macText(bytes);
    case FieldKind::Raw:
        break;
    }
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out += (i ? "," : "") + std::to_string(bytes[i]);
    return out;
}

std::string readText(const ConfigField& field, Bytes block, int index) {
    if (!fieldFits(field, block.size(), index))
        return {};
    if (isNumeric(field))
        return numberText(field, readNumber(field, block, index));
    return bytesText(field, fieldBytes(field, block, index));
}

bool writeText(const ConfigField& field, MutableBytes block, int index, std::string_view text) {
    if (!fieldFits(field, block.size(), index))
        return false;
    if (isNumeric(field)) {
        auto v = parseNumber(field, text);
        return v && *v <= fieldMax(field) &&
               writeNumber(field, block, index, static_cast<std::uint32_t>(*v));
    }
    auto bytes = parseBytes(field, text);
    return bytes && writeBytes(field, block, index, *bytes);
}

} // namespace quorvane
