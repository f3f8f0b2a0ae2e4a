// The rights module: add 18, remove 20, check 22, clear 24, read by position 52, simulated
// swipe 114 and read by card 116. The rights lie in the controller's memories as
// sim_right_storage.h lays them out.
#include <algorithm>

#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"
#include "sim_right_storage.h"

namespace quorvane::sim {

namespace {

constexpr std::uint32_t kEndOfRights = 0xFFFFFFFFu;
constexpr std::uint8_t kOpeningForbidden = 1u << 0; // time-zone bit 0
constexpr std::size_t kTimeZoneAt = 16;
constexpr std::size_t kReaderMaskAt = 17;

CardKey cardOf(Bytes payload) {
    CardKey key{};
    std::copy_n(payload.begin(), key.size(), key.begin());
    return key;
}

// Whether the card's right lets it in at the reader (1..8: bits 0..7 of the reader mask);
// the time zones other than "opening forbidden" and the validity are not examined.
bool admits(const SimController& c, const CardKey& card, std::uint32_t reader) {
    auto slot = findRight(c, card);
    if (!slot || reader < 1 || reader > 8)
        return false;
    auto right = rightInSlot(c, *slot);
    if (right[kTimeZoneAt] & kOpeningForbidden)
        return false;
    return (right[kReaderMaskAt] >> (reader - 1)) & 1;
}

std::optional<SimReply> addRight(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kRightWireSize)
        return SimReply{kBadFormat, {}};
    return SimReply{storeRight(c, r.payload) ? kDone : kFailed, {}};
}

std::optional<SimReply> deleteRight(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 8)
        return SimReply{kBadFormat, {}};
    return SimReply{removeRight(c, cardOf(r.payload)) ? kDone : kFailed, {}};
}

std::optional<SimReply> checkRight(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 12)
        return SimReply{kBadFormat, {}};
    bool passed = admits(c, cardOf(r.payload), ByteReader(r.payload, 8).u32le());
    ++c.rights.checks;
    if (passed)
        ++c.rights.checksPassed;
    return SimReply{passed ? kDone : kFailed, {}};
}

std::optional<SimReply> clearAll(SimController& c, const SimRequest& r) {
    if (!r.payload.empty())
        return SimReply{kBadFormat, {}};
    clearRights(c);
    return SimReply{kDone, {}};
}

std::string positioned(std::uint32_t position, Bytes right) {
    std::string p(4 + kRightWireSize, '\0');
    auto* bytes = reinterpret_cast<std::uint8_t*>(p.data());
    ByteWriter w(MutableBytes(bytes, p.size()));
    w.putU32le(position).putBytes(right);
    return p;
}

// Positions count the slots from 1. Searching forward answers the first used slot at or after
// the position; otherwise the slot itself, whose right is all zeros when it is free. Past the
// last slot (or nothing further) the answer is position -1.
std::optional<SimReply> readAt(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 8)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    std::uint32_t position = in.u32le();
    bool forward = in.u32le() != 0;
    std::uint32_t slot = position == 0 ? 0 : position - 1;
    std::array<std::uint8_t, kRightWireSize> none{};
    std::optional<std::uint32_t> found;
    if (forward)
        found = nextUsedSlot(c, slot);
    else if (slot < RightLayout::of(c).slots())
        found = slot;
    if (!found)
        return SimReply{kDone, positioned(kEndOfRights, none)};
    auto right = slotUsed(c, *found) ? rightInSlot(c, *found) : none;
    return SimReply{kDone, positioned(*found + 1, right)};
}

std::optional<SimReply> swipe(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 12)
        return SimReply{kBadFormat, {}};
    SwipeRecord& s = c.rights.lastSwipe;
    s.card = cardOf(r.payload);
    s.reader = ByteReader(r.payload, 8).u32le();
    s.granted = admits(c, s.card, s.reader);
    ++c.rights.swipes;
    return SimReply{s.granted ? kDone : kFailed, {}};
}

// The card's right, or 24 zero bytes when it has none.
std::optional<SimReply> readOfCard(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 8)
        return SimReply{kBadFormat, {}};
    std::array<std::uint8_t, kRightWireSize> right{};
    if (auto slot = findRight(c, cardOf(r.payload)))
        right = rightInSlot(c, *slot);
    return SimReply{kDone, std::string(right.begin(), right.end())};
}

void addCommands(CommandTable& table) {
    table.add(18, addRight);
    table.add(20, deleteRight);
    table.add(22, checkRight);
    table.add(24, clearAll);
    table.add(52, readAt);
    table.add(114, swipe);
    table.add(116, readOfCard);
}

Json dump(const SimController& c) {
    const RightLayout l = RightLayout::of(c);
    Json records = Json::array();
    for (auto slot = nextUsedSlot(c, 0); slot; slot = nextUsedSlot(c, *slot + 1)) {
        auto right = rightInSlot(c, *slot);
        records.push_back({{"position", static_cast<std::int64_t>(*slot + 1)},
                           {"right", hexText(Bytes(right).first(l.recordLength))}});
    }
    Json out = {{"count", static_cast<std::int64_t>(storedRightCount(c))},
                {"recordLength", static_cast<std::int64_t>(l.recordLength)},
                {"storage", l.hashed ? "hashed" : "overflow"},
                {"records", std::move(records)},
                {"checks", c.rights.checks},
                {"checksPassed", c.rights.checksPassed},
                {"swipes", c.rights.swipes}};
    if (c.rights.swipes > 0)
        out["lastSwipe"] = {{"card", hexText(c.rights.lastSwipe.card)},
                            {"reader", static_cast<std::int64_t>(c.rights.lastSwipe.reader)},
                            {"granted", c.rights.lastSwipe.granted}};
    return out;
}

} // namespace

const SimModule kRightsModule{"rights", addCommands, dump};

} // namespace quorvane::sim
