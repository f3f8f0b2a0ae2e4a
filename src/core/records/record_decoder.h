#pragma once
// Turns a journal record into the one line the user reads and, for the log viewer, into a
// small map of named fields. Decoding never fails: any 16 bytes give a line.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/log_record.h"

namespace quorvane {

// Field map of one record, in the order the fields were set; setting a key again replaces
// its value in place.
class RecordFieldMap {
public:
    void set(std::string_view key, std::string_view value);
    // Empty when the key is absent.
    std::string_view get(std::string_view key) const;
    bool contains(std::string_view key) const;
    const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// The display name of a command code (a request source or the code of a command the record
// is about); without one the protocol's code table is used. Empty for codes without a name.
using CommandNameFn = std::function<std::string_view(unsigned code)>;

struct RecordDecodeOptions {
    bool threeByte = false; // force-3byte-card
    CommandNameFn commandName;
};

// The record line; with a map also the fields type, offline, time, door, reader, dir, result,
// subtype, data and (records other than operation logs) card.
std::string decodeRecord(RecordFieldMap* fieldMap, const LogRecord& record,
                         std::uint32_t sequence, const RecordDecodeOptions& options);

// The value field of records other than operation logs.
std::string recordCardText(const LogRecord& record, bool threeByte);
// Starts with ";": the connection event of code 112 in abnormal records (subtype 3), the
// status word of code 225 in debug records (subtype 6), nothing more otherwise.
std::string connectionChangeText(std::uint32_t code, std::uint32_t value, unsigned subtype);
// The bracketed extra text by subtype (empty for most).
std::string recordExtraText(const LogRecord& record, const CommandNameFn& commandName);

} // namespace quorvane
