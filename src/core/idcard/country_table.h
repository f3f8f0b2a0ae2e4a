#pragma once
// Names shown for the nationality code of a resident identity card and the country code of a
// foreign permanent-residence card. Both look-ups give "未知" for a code they do not know.
#include <span>
#include <string_view>

namespace quorvane {

struct CountryEntry {
    std::string_view code;
    std::string_view name;
};

// The 239 codes of the national list, and the codes assigned since then.
std::span<const CountryEntry> countryEntries();
std::span<const CountryEntry> addedCountryEntries();

// Key: three capital letters.
std::string_view countryName(std::string_view code);
// Key: the two-digit nationality code as text; the names are without 族.
std::string_view nationName(std::string_view code);

} // namespace quorvane
