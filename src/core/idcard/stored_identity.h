#pragma once
// Identity data that the host service keeps per document number in "xml\<number>.txt": one
// line of tab-separated fields (1 name, 2 sex, 3 nation, 4 birth date, 5 address, 6 number,
// 7 authority, 8 validity start, 9 validity end). The tool only reads these files.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/log_view_rows.h"

namespace quorvane {

struct StoredIdentity {
    std::vector<std::string> fields; // UTF-8; missing fields read as empty

    const std::string& field(std::size_t i) const;
    const std::string& name() const { return field(1); }
    const std::string& sex() const { return field(2); }
    const std::string& nation() const { return field(3); }
    const std::string& birth() const { return field(4); }
    const std::string& address() const { return field(5); }
    const std::string& number() const { return field(6); }
    const std::string& authority() const { return field(7); }
    const std::string& validFrom() const { return field(8); }
    const std::string& validTo() const { return field(9); }
};

// The first line of a file's GBK text; found when the number field is not empty.
std::optional<StoredIdentity> parseStoredIdentity(std::string_view gbkText);

// "<programDir>/xml/<number>.txt"; nothing for a number that could leave the folder (only
// letters and digits make a file name here).
std::optional<std::string> storedIdentityPath(const std::string& programDir,
                                              std::string_view number);
std::optional<StoredIdentity> lookupStoredIdentity(const std::string& programDir,
                                                   std::string_view number);

// The log viewer's identity columns of a card number, from the stored files.
IdentityLookup viewerIdentities(const std::string& programDir);

} // namespace quorvane
