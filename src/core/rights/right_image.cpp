#include "rights/right_image.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <stdexcept>

namespace quorvane {
namespace {

constexpr unsigned kGroupSectors = 8;
constexpr unsigned kLastGroup = 52; // 52 groups of 8 sectors and a last one of 1
constexpr unsigned kGroupCycle = 30;

std::uint32_t readU32(Bytes image, std::uint32_t address) {
    ByteReader in(image, address);
    return in.u32le();
}

void writeU32(MutableBytes image, std::uint32_t address, std::uint32_t v) {
    ByteWriter(image, address).putU32le(v);
}

} // namespace

RightImage::RightImage(MutableBytes eeprom, MutableBytes flash, int rightMode, TextSink message,
                       TextSink debugOutput)
    : eeprom_(eeprom), flash_(flash), rightMode_(rightMode),
      recordLength_(storedRightLength(rightMode)),
      perPage_(static_cast<std::uint32_t>(kHashPageSize / recordLength_)),
      perSector_(static_cast<std::uint32_t>(kSectorSize / recordLength_)),
      message_(std::move(message)), debugOutput_(std::move(debugOutput)) {
    if (eeprom_.size() < kEepromImageSize || flash_.size() < kFlashRightAreaSize)
        throw std::invalid_argument("right image: memory images too small");
}

unsigned RightImage::bucketOf(const xRight& r) {
    std::uint32_t h = 0;
    for (std::uint8_t b : r.cardField()) h = h * 33 + b;
    return h % kHashPages;
}

std::pair<unsigned, unsigned> RightImage::overflowGroups(unsigned bucket) {
    unsigned g = bucket % kGroupCycle;
    unsigned first = kLastGroup * g / kGroupCycle;
    unsigned last = (kLastGroup * (g + 1) + kGroupCycle - 1) / kGroupCycle;
    return {first, last};
}

std::uint32_t RightImage::overflowAddress(std::uint32_t j) const {
    return (kOverflowFirstSector + j / perSector_) * kSectorSize +
           (j % perSector_) * static_cast<std::uint32_t>(recordLength_);
}

bool RightImage::validIndex(std::uint32_t index, const char* who) const {
    if (index / 8 < kBitmapBytes) return true;
    if (debugOutput_) {
        char line[96];
        std::snprintf(line, sizeof line, "%s called with invalid parameter, index=%d\r\n", who,
                      static_cast<int>(index));
        debugOutput_(line);
    }
    return false;
}

bool RightImage::bit(std::uint32_t index) const {
    return (eeprom_[kBitmapAddress + index / 8] >> (index % 8)) & 1;
}

bool RightImage::slotUsed(std::uint32_t index) const {
    return validIndex(index, "testRightMask") && bit(index);
}

void RightImage::setRightMask(std::uint32_t index) {
    if (!validIndex(index, "setRightMask")) return;
    eeprom_[kBitmapAddress + index / 8] |= static_cast<std::uint8_t>(1u << (index % 8));
}

std::uint32_t RightImage::rightCount() const { return readU32(eeprom_, kRightCountAddress); }
std::uint32_t RightImage::storageFlags() const { return readU32(eeprom_, kStorageFlagsAddress); }

void RightImage::place(MutableBytes area, std::uint32_t offset, const xRight& r,
                       std::uint32_t index) {
    auto bytes = encodeRight(r, rightMode_);
    ByteWriter(area, offset).putBytes(Bytes(bytes).first(recordLength_));
    setRightMask(index);
    writeU32(eeprom_, kRightCountAddress, rightCount() + 1);
}

int RightImage::appendRight(const xRight& r, bool reset) {
    if (reset) bucketCounts_.fill(0);
    unsigned b = bucketOf(r);
    ++bucketCounts_[b];

    if (storageFlags() & kHashedStorageFlag) {
        for (std::uint32_t s = 0; s < perPage_; ++s) {
            std::uint32_t index = b * perPage_ + s;
            if (!bit(index)) {
                place(flash_, b * kHashPageSize + s * static_cast<std::uint32_t>(recordLength_),
                      r, index);
                return 0;
            }
        }
    }

    auto [first, last] = overflowGroups(b);
    std::uint32_t firstSlot = first * kGroupSectors * perSector_;
    std::uint32_t endSector = std::min((last + 1) * kGroupSectors, kOverflowSectors);
    std::uint32_t endSlot = endSector * perSector_;
    for (std::uint32_t j = firstSlot; j < endSlot; ++j) {
        std::uint32_t index = overflowBase() + j;
        if (!bit(index)) {
            place(eeprom_, overflowAddress(j), r, index);
            return 0;
        }
    }

    if (!fullReported_) {
        fullReported_ = true;
        if (message_) message_(std::string(kRightsFullMessage));
    }
    return -1;
}

bool RightImage::testRightMask(bool isEeprom, std::uint32_t address, std::uint32_t length) const {
    const std::uint64_t r = recordLength_;
    if (isEeprom && std::uint64_t(address) + length >= kBitmapAddress &&
        address < kBitmapAddress + kBitmapBytes + 1)
        return true;
    for (std::uint64_t i = 0; i * r <= std::uint64_t(length) + r - 1; ++i) {
        std::uint64_t p = address + i * r;
        std::int64_t index;
        if (isEeprom) {
            index = std::int64_t(perSector_) * (std::int64_t(p / kSectorSize) - kOverflowFirstSector) +
                    std::int64_t((p % kSectorSize) / r) + overflowBase();
        } else {
            index = std::int64_t(perPage_) * std::int64_t(p / kHashPageSize) +
                    std::int64_t((p % kHashPageSize) / r);
        }
        if (index < 0 || index > 0xFFFFFFFFll) {
            validIndex(0xFFFFFFFFu, "testRightMask");
            continue;
        }
        if (slotUsed(static_cast<std::uint32_t>(index))) return true;
    }
    return false;
}

std::uint32_t RightImage::usedSlots() const {
    std::uint32_t n = 0;
    for (std::uint32_t i = 0; i < kBitmapBytes; ++i) n += std::popcount(eeprom_[kBitmapAddress + i]);
    return n;
}

std::string RightImage::rightsSummary(long expectedCount) const {
    char buf[160];
    std::snprintf(buf, sizeof buf, "预计记录数量：%ld，权限值：%u，权限位统计值：%u", expectedCount,
                  rightCount(), usedSlots());
    return buf;
}

} // namespace quorvane
