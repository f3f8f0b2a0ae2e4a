#include "sim_right_storage.h"

#include <algorithm>

#include "sim_controller.h"
#include "sim_memory_access.h"

namespace quorvane::sim {

namespace {

constexpr std::size_t kRightModeAt = 404 - kDoorSettingsAt;  // in the door settings
constexpr std::size_t kOptionsLowAt = 408 - kDoorSettingsAt; // options 1..32
constexpr std::uint32_t kLargeCapacityOption = 1u << 2;      // option 3
constexpr std::uint32_t kGroupSectors = 8;
constexpr std::uint32_t kGroupCycle = 30;
constexpr std::uint32_t kGroups = 52; // and one more of a single sector
constexpr std::uint32_t kEepromSize = 262144;
constexpr std::uint32_t kFlashRightBytes = kBuckets * kBucketPageBytes;

struct Place {
    MemoryType type;
    std::uint32_t address;
};

Place placeOf(const RightLayout& l, std::uint32_t slot) {
    const std::uint32_t hashSlots = kBuckets * l.perPage;
    if (slot < hashSlots)
        return {kFlash,
                (slot / l.perPage) * kBucketPageBytes + (slot % l.perPage) * l.recordLength};
    std::uint32_t j = slot - hashSlots;
    return {kEeprom, (kOverflowSector + j / l.perSector) * kSectorBytes +
                         (j % l.perSector) * l.recordLength};
}

// Reads bitmap bits, looking each page up once while the bits stay on it.
class Bitmap {
  public:
    explicit Bitmap(const MemoryState& m) : m_(m) {}
    std::uint8_t byte(std::uint32_t index) {
        std::uint32_t address = kSlotBitmapAt + index;
        std::uint32_t base = address & ~static_cast<std::uint32_t>(kPageSize - 1);
        if (!cached_ || base != base_) {
            page_ = memoryPage(m_, kEeprom, address);
            base_ = base;
            cached_ = true;
        }
        return page_ ? (*page_)[address - base] : 0;
    }
    bool bit(std::uint32_t slot) { return (byte(slot / 8) >> (slot % 8)) & 1; }

  private:
    const MemoryState& m_;
    const MemoryState::Page* page_ = nullptr;
    std::uint32_t base_ = 0;
    bool cached_ = false;
};

void setBit(MemoryState& m, std::uint32_t slot, bool on) {
    std::uint8_t b[1];
    std::uint32_t address = kSlotBitmapAt + slot / 8;
    readMemory(m, kEeprom, address, b);
    auto mask = static_cast<std::uint8_t>(1u << (slot % 8));
    b[0] = on ? static_cast<std::uint8_t>(b[0] | mask) : static_cast<std::uint8_t>(b[0] & ~mask);
    writeMemory(m, kEeprom, address, b);
}

CardKey cardAt(const MemoryState& m, const Place& p) {
    CardKey key{};
    readMemory(m, p.type, p.address, key);
    return key;
}

// Every slot a card may take, in the order they are tried; f(slot) returns true to stop.
template <class F> void forEachCandidate(const RightLayout& l, unsigned bucket, F&& f) {
    if (l.hashed)
        for (std::uint32_t s = 0; s < l.perPage; ++s)
            if (f(bucket * l.perPage + s))
                return;
    const std::uint32_t g = bucket % kGroupCycle;
    const std::uint32_t firstGroup = kGroups * g / kGroupCycle;
    const std::uint32_t lastGroup = (kGroups * (g + 1) + kGroupCycle - 1) / kGroupCycle;
    const std::uint32_t overflowBase = kBuckets * l.perPage;
    for (std::uint32_t group = firstGroup; group <= lastGroup; ++group) {
        std::uint32_t endSector = std::min((group + 1) * kGroupSectors, kOverflowSectorCount);
        for (std::uint32_t sector = group * kGroupSectors; sector < endSector; ++sector)
            for (std::uint32_t t = 0; t < l.perSector; ++t)
                if (f(overflowBase + sector * l.perSector + t))
                    return;
    }
}

struct Lookup {
    std::optional<std::uint32_t> found;
    std::optional<std::uint32_t> firstFree;
};

Lookup lookUp(const SimController& c, const CardKey& card) {
    const RightLayout l = RightLayout::of(c);
    Bitmap bits(c.memory);
    Lookup result;
    forEachCandidate(l, bucketOfCard(card), [&](std::uint32_t slot) {
        if (!bits.bit(slot)) {
            if (!result.firstFree)
                result.firstFree = slot;
            return false;
        }
        if (cardAt(c.memory, placeOf(l, slot)) == card) {
            result.found = slot;
            return true;
        }
        return false;
    });
    return result;
}

void setCount(SimController& c, std::uint32_t n) {
    writeMemoryU32(c.memory, kEeprom, kRightCountAt, n);
}

void erasePages(MemoryState& m, MemoryType type, std::uint32_t from, std::uint32_t to) {
    auto& pages = m.pages[type];
    pages.erase(pages.lower_bound(from), pages.lower_bound(to));
}

} // namespace

RightLayout RightLayout::of(const SimController& c) {
    ByteReader in(c.config.doorSettings, kRightModeAt);
    std::uint32_t mode = in.u32le();
    in.seek(kOptionsLowAt);
    std::uint32_t options = in.u32le();
    std::uint32_t r = mode == 0 ? 20 : 24;
    return {r, kBucketPageBytes / r, kSectorBytes / r, (options & kLargeCapacityOption) != 0};
}

void setRightStorage(ConfigState& config, std::uint32_t rightMode, bool largeCapacity) {
    ByteWriter(config.doorSettings, kRightModeAt).putU32le(rightMode);
    std::uint32_t options = ByteReader(config.doorSettings, kOptionsLowAt).u32le();
    options = largeCapacity ? (options | kLargeCapacityOption) : (options & ~kLargeCapacityOption);
    ByteWriter(config.doorSettings, kOptionsLowAt).putU32le(options);
}

std::uint32_t storedRightCount(const SimController& c) {
    return readMemoryU32(c.memory, kEeprom, kRightCountAt);
}

unsigned bucketOfCard(const CardKey& card) {
    std::uint32_t h = 0;
    for (std::uint8_t b : card)
        h = h * 33 + b;
    return h % kBuckets;
}

bool storeRight(SimController& c, Bytes right) {
    const RightLayout l = RightLayout::of(c);
    if (right.size() < l.recordLength)
        return false;
    CardKey card{};
    std::copy_n(right.begin(), card.size(), card.begin());
    Lookup where = lookUp(c, card);
    std::optional<std::uint32_t> slot = where.found ? where.found : where.firstFree;
    if (!slot)
        return false;
    writeMemory(c.memory, placeOf(l, *slot).type, placeOf(l, *slot).address,
                right.first(l.recordLength));
    if (!where.found) {
        setBit(c.memory, *slot, true);
        setCount(c, storedRightCount(c) + 1);
    }
    return true;
}

std::optional<std::uint32_t> findRight(const SimController& c, const CardKey& card) {
    return lookUp(c, card).found;
}

bool removeRight(SimController& c, const CardKey& card) {
    auto slot = findRight(c, card);
    if (!slot)
        return false;
    const RightLayout l = RightLayout::of(c);
    std::array<std::uint8_t, kRightWireSize> zeros{};
    Place p = placeOf(l, *slot);
    writeMemory(c.memory, p.type, p.address, Bytes(zeros).first(l.recordLength));
    setBit(c.memory, *slot, false);
    std::uint32_t n = storedRightCount(c);
    setCount(c, n > 0 ? n - 1 : 0);
    return true;
}

void clearRights(SimController& c) {
    erasePages(c.memory, kEeprom, kSlotBitmapAt, kEepromSize);
    erasePages(c.memory, kFlash, 0, kFlashRightBytes);
    setCount(c, 0);
}

bool slotUsed(const SimController& c, std::uint32_t slot) {
    if (slot >= RightLayout::of(c).slots())
        return false;
    return Bitmap(c.memory).bit(slot);
}

std::optional<std::uint32_t> nextUsedSlot(const SimController& c, std::uint32_t slot) {
    const std::uint32_t end = RightLayout::of(c).slots();
    Bitmap bits(c.memory);
    while (slot < end) {
        std::uint8_t b = bits.byte(slot / 8);
        if (b == 0) {
            slot = (slot / 8 + 1) * 8;
            continue;
        }
        if ((b >> (slot % 8)) & 1)
            return slot;
        ++slot;
    }
    return std::nullopt;
}

std::array<std::uint8_t, kRightWireSize> rightInSlot(const SimController& c, std::uint32_t slot) {
    const RightLayout l = RightLayout::of(c);
    std::array<std::uint8_t, kRightWireSize> out{};
    Place p = placeOf(l, slot);
    readMemory(c.memory, p.type, p.address, MutableBytes(out).first(l.recordLength));
    return out;
}

} // namespace quorvane::sim
