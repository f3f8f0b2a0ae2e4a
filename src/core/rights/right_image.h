#pragma once
// The local image of one controller's right storage, so that a whole right list can be
// written as memory pages instead of one command per right. Rights are hashed into 500
// FLASH pages of 4096 bytes; what does not fit its page goes to overflow sectors in EEPROM;
// a bitmap in EEPROM marks every used slot. The image works on the program's EEPROM and FLASH
// memory images, which the page transfer sends.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/bytes.h"
#include "rights/x_right.h"

namespace quorvane {

inline constexpr std::size_t kEepromImageSize = 262144;
inline constexpr std::uint32_t kRightCountAddress = 520;
inline constexpr std::uint32_t kStorageFlagsAddress = 920;
inline constexpr std::uint32_t kHashedStorageFlag = 1u << 2;
inline constexpr std::uint32_t kBitmapAddress = 29696;
inline constexpr std::uint32_t kBitmapBytes = 18944;
inline constexpr std::uint32_t kOverflowFirstSector = 95;
inline constexpr std::uint32_t kOverflowSectors = 417;
inline constexpr std::uint32_t kSectorSize = 512;
inline constexpr std::uint32_t kHashPages = 500;
inline constexpr std::uint32_t kHashPageSize = 4096;
inline constexpr std::size_t kFlashRightAreaSize = std::size_t(kHashPages) * kHashPageSize;

inline constexpr std::string_view kRightsFullMessage = "权限已满！（本消息只提示一次）";

class RightImage {
  public:
    using TextSink = std::function<void(const std::string&)>;

    // eeprom must hold at least 262,144 bytes and flash the 500 hash pages; both stay owned by
    // the caller. message shows a text to the person; debugOutput takes the debugger-channel
    // lines (each ends in CR LF).
    RightImage(MutableBytes eeprom, MutableBytes flash, int rightMode, TextSink message,
               TextSink debugOutput);

    // Bucket of a record: h = h * 33 + byte over the 8 card-field bytes, mod 500.
    static unsigned bucketOf(const xRight& r);

    // Places the record; 0, or -1 when no slot is free (the first such failure in the life of
    // this image shows the rights-full message once). reset empties the per-bucket counters.
    int appendRight(const xRight& r, bool reset = false);

    // Whether any slot in the memory range is used (the page filter of the right-image write).
    bool testRightMask(bool isEeprom, std::uint32_t address, std::uint32_t length) const;
    void setRightMask(std::uint32_t index);
    bool slotUsed(std::uint32_t index) const;

    std::uint32_t rightCount() const;
    std::uint32_t storageFlags() const;
    std::uint32_t bucketCounter(unsigned bucket) const { return bucketCounts_.at(bucket); }
    std::uint32_t usedSlots() const;
    // "预计记录数量：%d，权限值：%d，权限位统计值：%d".
    std::string rightsSummary(long expectedCount) const;

    std::size_t recordLength() const { return recordLength_; }
    std::uint32_t perPage() const { return perPage_; }
    std::uint32_t perSector() const { return perSector_; }
    // Bitmap index of the first overflow slot.
    std::uint32_t overflowBase() const { return kHashPages * perPage_; }
    std::uint32_t overflowAddress(std::uint32_t overflowSlot) const;
    // Overflow groups searched for a bucket: [first, last].
    static std::pair<unsigned, unsigned> overflowGroups(unsigned bucket);

  private:
    bool validIndex(std::uint32_t index, const char* who) const;
    bool bit(std::uint32_t index) const;
    void place(MutableBytes area, std::uint32_t offset, const xRight& r, std::uint32_t index);

    MutableBytes eeprom_;
    MutableBytes flash_;
    int rightMode_;
    std::size_t recordLength_;
    std::uint32_t perPage_;
    std::uint32_t perSector_;
    TextSink message_;
    TextSink debugOutput_;
    std::array<std::uint32_t, kHashPages> bucketCounts_{};
    bool fullReported_ = false;
};

} // namespace quorvane
