#pragma once
// Bounds-checked readers and writers for frames and files. Every access says whether it fit;
// nothing here reads or writes past the span it was given.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorvane {

using Bytes = std::span<const std::uint8_t>;
using MutableBytes = std::span<std::uint8_t>;

class ByteReader {
public:
    explicit ByteReader(Bytes data, std::size_t pos = 0) : data_(data), pos_(pos) {}

    // A failed read returns 0 and marks the reader bad; later reads keep failing.
    std::uint8_t u8() { return fits(1) ? data_[pos_++] : fail<std::uint8_t>(); }
    std::uint16_t u16le() {
        if (!fits(2)) return fail<std::uint16_t>();
        auto v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::uint16_t u16be() {
        if (!fits(2)) return fail<std::uint16_t>();
        auto v = static_cast<std::uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    std::uint32_t u32le() {
        if (!fits(4)) return fail<std::uint32_t>();
        std::uint32_t v = std::uint32_t(data_[pos_]) | (std::uint32_t(data_[pos_ + 1]) << 8) |
                          (std::uint32_t(data_[pos_ + 2]) << 16) |
                          (std::uint32_t(data_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    std::uint32_t u32be() {
        if (!fits(4)) return fail<std::uint32_t>();
        std::uint32_t v = (std::uint32_t(data_[pos_]) << 24) |
                          (std::uint32_t(data_[pos_ + 1]) << 16) |
                          (std::uint32_t(data_[pos_ + 2]) << 8) | std::uint32_t(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }
    // The next n bytes as a view; empty and bad when fewer remain.
    Bytes take(std::size_t n) {
        if (!fits(n)) {
            ok_ = false;
            return {};
        }
        auto v = data_.subspan(pos_, n);
        pos_ += n;
        return v;
    }
    void skip(std::size_t n) { take(n); }
    void seek(std::size_t pos) {
        if (pos > data_.size()) ok_ = false;
        else pos_ = pos;
    }

    bool ok() const { return ok_; }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return ok_ ? data_.size() - pos_ : 0; }

private:
    bool fits(std::size_t n) const { return ok_ && n <= data_.size() - pos_; }
    template <class T> T fail() {
        ok_ = false;
        return T{};
    }
    Bytes data_;
    std::size_t pos_;
    bool ok_ = true;
};

class ByteWriter {
public:
    explicit ByteWriter(MutableBytes out, std::size_t pos = 0) : out_(out), pos_(pos) {
        if (pos_ > out_.size()) ok_ = false;
    }

    ByteWriter& putU8(std::uint8_t v) {
        if (fits(1)) out_[pos_++] = v;
        return *this;
    }
    ByteWriter& putU16le(std::uint16_t v) {
        if (fits(2)) {
            out_[pos_++] = std::uint8_t(v);
            out_[pos_++] = std::uint8_t(v >> 8);
        }
        return *this;
    }
    ByteWriter& putU16be(std::uint16_t v) {
        if (fits(2)) {
            out_[pos_++] = std::uint8_t(v >> 8);
            out_[pos_++] = std::uint8_t(v);
        }
        return *this;
    }
    ByteWriter& putU32le(std::uint32_t v) {
        if (fits(4))
            for (int i = 0; i < 4; ++i) out_[pos_++] = std::uint8_t(v >> (8 * i));
        return *this;
    }
    ByteWriter& putU32be(std::uint32_t v) {
        if (fits(4))
            for (int i = 3; i >= 0; --i) out_[pos_++] = std::uint8_t(v >> (8 * i));
        return *this;
    }
    ByteWriter& putBytes(Bytes b) {
        if (fits(b.size()))
            for (auto c : b) out_[pos_++] = c;
        return *this;
    }
    // Copies at most width bytes of text and pads with zeros to exactly width bytes.
    ByteWriter& putPadded(std::string_view text, std::size_t width) {
        if (fits(width))
            for (std::size_t i = 0; i < width; ++i)
                out_[pos_++] = i < text.size() ? std::uint8_t(text[i]) : 0;
        return *this;
    }
    ByteWriter& fill(std::uint8_t v, std::size_t n) {
        if (fits(n))
            for (std::size_t i = 0; i < n; ++i) out_[pos_++] = v;
        return *this;
    }
    void seek(std::size_t pos) {
        if (pos > out_.size()) ok_ = false;
        else pos_ = pos;
    }

    bool ok() const { return ok_; }
    std::size_t pos() const { return pos_; }

private:
    bool fits(std::size_t n) {
        if (ok_ && n <= out_.size() - pos_) return true;
        ok_ = false;
        return false;
    }
    MutableBytes out_;
    std::size_t pos_;
    bool ok_ = true;
};

// A zero-terminated text field of at most width bytes, as raw (GBK) bytes.
inline std::string fieldText(Bytes field) {
    std::string s;
    for (auto c : field) {
        if (c == 0) break;
        s.push_back(static_cast<char>(c));
    }
    return s;
}

inline std::uint8_t sum8(Bytes b) {
    unsigned s = 0;
    for (auto c : b) s += c;
    return static_cast<std::uint8_t>(s);
}

inline Bytes asBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

} // namespace quorvane
