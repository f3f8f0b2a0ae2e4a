#pragma once
// The controller packs dates and times into 16-bit words, in rights and in log records alike:
// date = (year - 2000) << 9 | month << 5 | day, time = hour << 11 | minute << 5 | second / 2.
#include <cstdint>
#include <string>

namespace quorvane {

// The 7-bit year field of a calendar year: (Y + 48 * (Y / 2000)) mod 128, which is Y - 2000
// for the years 2000..2127.
unsigned yearField(int year);
// Each part is masked to its field width so that an out-of-range part cannot spill into the
// neighbouring field.
std::uint16_t packDate(int year, int month, int day);
std::uint16_t packTime(int hour, int minute, int second);

// "%04d-%02d-%02d" with the year field + 2000.
std::string packedDateText(std::uint16_t date);
// "%02d:%02d:%02d" with the seconds doubled.
std::string packedTimeText(std::uint16_t time);
// Date, one space, time.
std::string packedDateTimeText(std::uint16_t date, std::uint16_t time);

} // namespace quorvane
