#pragma once
// What the log viewer shows of one record: its row (one text per column, in the list's column
// order), the card-only filter, and the detail text of a selected row. The identity columns
// come from the identity data stored for the row's card number, looked up by the caller's
// function (the identity files live a layer above the records).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "records/log_record.h"
#include "records/record_decoder.h"

namespace quorvane {

struct ViewerColumn {
    const char* caption;
    int width; // dialog pixels
};
inline constexpr std::size_t kViewerColumnCount = 20;
extern const std::array<ViewerColumn, kViewerColumnCount> kViewerColumns;

inline constexpr const char* kCardOnlySection = "common";
inline constexpr const char* kCardOnlyKey = "show-card-scan-only";

// The identity data stored for a card number.
struct ViewerIdentity {
    std::string name, nation, sex, birth, address, authority, validFrom, validTo;
};
using IdentityLookup = std::function<std::optional<ViewerIdentity>(const std::string& card)>;

// What a row needs besides its record.
struct ViewerRowContext {
    std::uint32_t reportIndex = 0; // the device's reportIndex (R): records below R - 1 went up
    bool cardOnly = false;         // "只显示刷卡日志和远程开门"
    RecordDecodeOptions decode;
    IdentityLookup identities; // may be empty
};

// True for the records the filter shows in full: normal card reads and operations from afar.
bool cardOrRemoteOpen(const RecordFieldMap& fields);

// The row of record index (from 0): sequence index + 1, and with the filter on a record it
// does not show in full keeps its sequence and time, "非刷卡日志" as its type and "-" in every
// column after.
std::array<std::string, kViewerColumnCount> viewerRow(const LogRecord& record, std::uint32_t index,
                                                      const ViewerRowContext& context);

// The detail box of a selected row, lines ended by CR LF.
std::string viewerDetailText(const LogRecord& record, const ViewerRowContext& context);

} // namespace quorvane
