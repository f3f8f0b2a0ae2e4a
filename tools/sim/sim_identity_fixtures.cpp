#include "sim_identity_fixtures.h"

#include <cstdint>
#include <string_view>

namespace quorvane::sim {

namespace {

constexpr std::size_t kTextBlock = 256;
constexpr std::size_t kPhoto = 1024;

// UTF-8 (BMP characters only) to UCS-2 little-endian.
std::u16string utf16(std::string_view s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        char16_t u = c;
        std::size_t n = 1;
        if (c >= 0xE0)
            u = char16_t((c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F)), n = 3;
        else if (c >= 0xC0)
            u = char16_t((c & 0x1F) << 6 | (s[i + 1] & 0x3F)), n = 2;
        out.push_back(u);
        i += n;
    }
    return out;
}

class TextBlock {
  public:
    TextBlock() {
        for (std::size_t i = 0; i < kTextBlock; i += 2)
            bytes_[i] = ' ';
    }
    // A field at a byte offset, padded with spaces by the block.
    TextBlock& put(std::size_t offset, std::string_view utf8) {
        for (char16_t u : utf16(utf8)) {
            bytes_[offset++] = char(u & 0xFF);
            bytes_[offset++] = char(u >> 8);
        }
        return *this;
    }
    TextBlock& marker(char type) {
        bytes_[248] = type;
        bytes_[249] = '\0';
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_ = std::string(kTextBlock, '\0');
};

// The 18th character of a resident number from its first 17 digits.
std::string withCheck(std::string_view first17) {
    static constexpr int kWeights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (std::size_t i = 0; i < 17; ++i)
        sum += (first17[i] - '0') * kWeights[i];
    return std::string(first17) + "10X98765432"[sum % 11];
}

// A WLT photo: the signature, then bytes that never repeat their predecessor.
std::string photo(std::uint32_t seed) {
    std::string p = "WLf";
    while (p.size() < kPhoto) {
        seed = seed * 1103515245u + 12345u;
        char b = char(seed >> 16);
        if (b != p.back())
            p.push_back(b);
    }
    return p;
}

std::string message(const TextBlock& block, std::uint32_t seed) {
    std::string m(14, '\0');
    m[0] = char(0xAA);
    m += block.bytes();
    m += photo(seed);
    m.push_back('\0');
    m += "sim";
    m.push_back('\0');
    return m;
}

} // namespace

std::vector<std::string> identityFixtures() {
    TextBlock resident;
    resident.put(0, "张三")
        .put(30, "1")
        .put(32, "01")
        .put(36, "19800101")
        .put(52, "北京市东城区测试路1号")
        .put(122, withCheck("11010119800101001"))
        .put(158, "北京市公安局东城分局")
        .put(188, "20200101")
        .put(204, "20400101");
    TextBlock permit;
    permit.put(0, "李四")
        .put(30, "2")
        .put(36, "19900215")
        .put(52, "香港特别行政区测试道2号")
        .put(122, withCheck("81000019900215002"))
        .put(158, "公安部出入境管理局")
        .put(188, "20210301")
        .put(204, "20260301")
        .put(220, "H12345678")
        .marker('J');
    TextBlock foreign;
    foreign.put(0, "SMITH JOHN")
        .put(120, "1")
        .put(122, "USA310080101010")
        .put(152, "USA")
        .put(158, "史密斯")
        .put(188, "20220101")
        .put(204, "20320101")
        .put(220, "19800101")
        .put(236, "01 ")
        .marker('I');
    return {message(resident, 1), message(permit, 2), message(foreign, 3)};
}

} // namespace quorvane::sim
