#pragma once
// Where a controller keeps its rights, in its own EEPROM and FLASH, so that reading those
// memories page by page shows them:
//   EEPROM 520            u32 number of rights stored (the door-access block's D8 reports it)
//   EEPROM 29,696..48,639 one bit per slot, slot i = byte i / 8, bit i % 8 (lowest first)
//   EEPROM sector 95 on   417 overflow sectors of 512 bytes, E records each
//   FLASH b x 4096        500 hash pages, K records each: bucket b's slots
// R, the stored length, is 20 bytes in right mode 0 (no flags word) and 24 otherwise; K = 4096
// div R, E = 512 div R; no record crosses its page or sector. Slot s of bucket b is bit
// b x K + s; overflow slot j is bit 500 x K + j, at (95 + j div E) x 512 + (j mod E) x R.
// A right's bucket is h mod 500, h = h x 33 + byte over its 8 card bytes (unsigned 32-bit).
// With the large-capacity option (option 3: bit 2 of the options word D408) a right goes to
// the first free slot of its bucket's page; otherwise, and when that page is full, to the
// first free overflow slot of the groups its bucket searches: the sectors form 52 groups of 8
// and a last group of 1; bucket b searches groups 52g/30 (rounded down) to 52(g+1)/30 (rounded
// up), g = b mod 30. A card is stored once: storing it again replaces its record.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane::sim {

struct SimController;
struct ConfigState;

inline constexpr std::uint32_t kRightCountAt = 520;
inline constexpr std::uint32_t kSlotBitmapAt = 29696;
inline constexpr std::uint32_t kSlotBitmapBytes = 18944;
inline constexpr std::uint32_t kOverflowSector = 95;
inline constexpr std::uint32_t kOverflowSectorCount = 417;
inline constexpr std::uint32_t kSectorBytes = 512;
inline constexpr std::uint32_t kBuckets = 500;
inline constexpr std::uint32_t kBucketPageBytes = 4096;
// The card field: the first 8 bytes of a right.
using CardKey = std::array<std::uint8_t, 8>;
// A right as a reply carries it.
inline constexpr std::size_t kRightWireSize = 24;

// The layout of one controller as its configuration sets it.
struct RightLayout {
    std::uint32_t recordLength; // R
    std::uint32_t perPage;      // K
    std::uint32_t perSector;    // E
    bool hashed;                // the large-capacity option

    static RightLayout of(const SimController& c);
    std::uint32_t slots() const { return kBuckets * perPage + kOverflowSectorCount * perSector; }
};

// Sets the right mode (D404) and the large-capacity option (bit 2 of D408) of a fresh
// controller.
void setRightStorage(ConfigState& config, std::uint32_t rightMode, bool largeCapacity);

std::uint32_t storedRightCount(const SimController& c);
unsigned bucketOfCard(const CardKey& card);

// Stores the first R bytes of a right (given in its 24-byte form); false when every slot its
// card may take is used.
bool storeRight(SimController& c, Bytes right);
// The slot holding the card, if any.
std::optional<std::uint32_t> findRight(const SimController& c, const CardKey& card);
// Frees the card's slot; false when it held none.
bool removeRight(SimController& c, const CardKey& card);
// Frees every slot and zeroes the count.
void clearRights(SimController& c);

bool slotUsed(const SimController& c, std::uint32_t slot);
// The first used slot at or after slot, if any.
std::optional<std::uint32_t> nextUsedSlot(const SimController& c, std::uint32_t slot);
// The right in a slot, in its 24-byte form (a 20-byte record is followed by zeros).
std::array<std::uint8_t, kRightWireSize> rightInSlot(const SimController& c, std::uint32_t slot);

} // namespace quorvane::sim
