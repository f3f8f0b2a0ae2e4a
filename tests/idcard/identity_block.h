#pragma once
// Builds 256-byte UCS-2 text blocks of identity documents for the tests.
#include <array>
#include <cstdint>
#include <string>

#include "infra/codepage.h"

namespace quorvane::test {

class IdentityBlock {
public:
    IdentityBlock() {
        for (std::size_t i = 0; i < bytes_.size(); i += 2) {
            bytes_[i] = ' ';
            bytes_[i + 1] = 0;
        }
    }
    // The text at a byte offset, as UCS-2 little-endian.
    IdentityBlock& put(std::size_t offset, const std::string& utf8) {
        std::u16string text = toUtf16(utf8);
        for (char16_t c : text) {
            bytes_.at(offset++) = static_cast<std::uint8_t>(c & 0xFF);
            bytes_.at(offset++) = static_cast<std::uint8_t>(c >> 8);
        }
        return *this;
    }
    IdentityBlock& marker(char type) {
        bytes_[248] = static_cast<std::uint8_t>(type);
        bytes_[249] = 0;
        return *this;
    }
    const std::array<std::uint8_t, 256>& bytes() const { return bytes_; }

    // A resident card whose every field is filled.
    static IdentityBlock resident() {
        IdentityBlock b;
        b.put(0, "张三").put(30, "1").put(32, "01").put(36, "19900101");
        b.put(52, "北京市东城区某街道1号").put(122, "11010519491231002X");
        b.put(158, "北京市公安局东城分局").put(188, "20200101").put(204, "20300101");
        return b;
    }

private:
    // Enough UTF-8 decoding for the BMP texts of the tests.
    static std::u16string toUtf16(const std::string& s) {
        std::u16string out;
        for (std::size_t i = 0; i < s.size();) {
            unsigned char c = s[i];
            if (c < 0x80) {
                out.push_back(c);
                i += 1;
            } else if (c < 0xE0) {
                out.push_back(char16_t(((c & 0x1F) << 6) | (s[i + 1] & 0x3F)));
                i += 2;
            } else {
                out.push_back(char16_t(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) |
                                       (s[i + 2] & 0x3F)));
                i += 3;
            }
        }
        return out;
    }
    std::array<std::uint8_t, 256> bytes_{};
};

} // namespace quorvane::test
