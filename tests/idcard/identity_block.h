#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace quorvane::test {

class IdentityBlock {
  public:
    IdentityBlock() {
        for (std::size_t i = 0; i < bytes_.size(); i += 2)
            bytes_[i] = ' ';
    }
    // The text at a byte offset, as UCS-2 little-endian.
    IdentityBlock& put(std::size_t offset, std::u16string_view text) {
        for (char16_t c : text) {
            bytes_.at(offset++) = static_cast<std::uint8_t>(c & 0xFF);
            bytes_.at(offset++) = static_cast<std::uint8_t>(c >> 8);
        }
        return *this;
    }
    // The document type at bytes 248..249.
    IdentityBlock& marker(char16_t type) { return put(248, std::u16string(1, type)); }
    const std::array<std::uint8_t, 256>& bytes() const { return bytes_; }

    static IdentityBlock resident() {
        IdentityBlock b;
        b.put(0, u"张三").put(30, u"1").put(32, u"01").put(36, u"19900101");
        b.put(52, u"北京市东城区某街道1号").put(122, u"11010519491231002X");
        b.put(158, u"北京市公安局东城分局").put(188, u"20200101").put(204, u"20300101");
        return b;
    }

  private:
    std::array<std::uint8_t, 256> bytes_{};
};

// A compressed photo as a reader gives it: the signature, then bytes that never repeat their
// predecessor; salts give different photos.
inline std::string wltPhoto(char salt = 0) {
    std::string w = "WLf";
    for (int i = 0; w.size() < 1024; ++i)
        w.push_back(char(i * 7 + salt) == w.back() ? char(i * 7 + salt + 1) : char(i * 7 + salt));
    return w;
}

// The controller's identity message: index, 14 reserved bytes, text block, a photo the decoder
// accepts, one byte, and the appendix as it comes (GBK).
inline std::string identityMessage(const IdentityBlock& block, std::uint32_t index,
                                   const std::string& appendix = {}) {
    std::string m;
    for (int b = 0; b < 4; ++b)
        m.push_back(char(index >> (8 * b)));
    m += std::string(14, '\0');
    m.append(block.bytes().begin(), block.bytes().end());
    return m + wltPhoto() + '\0' + appendix;
}

} // namespace quorvane::test
