#include "model/packed_time.h"

#include <cstdio>

namespace quorvane {

unsigned yearField(int year) {
    long long y = year;
    long long v = (y + 48 * (y / 2000)) % 128;
    if (v < 0) v += 128;
    return static_cast<unsigned>(v);
}

std::uint16_t packDate(int year, int month, int day) {
    return static_cast<std::uint16_t>((yearField(year) << 9) | ((unsigned(month) & 0xF) << 5) |
                                      (unsigned(day) & 0x1F));
}

std::uint16_t packTime(int hour, int minute, int second) {
    return static_cast<std::uint16_t>(((unsigned(hour) & 0x1F) << 11) |
                                      ((unsigned(minute) & 0x3F) << 5) |
                                      ((unsigned(second) / 2) & 0x1F));
}

std::string packedDateText(std::uint16_t date) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", (date >> 9) + 2000, (date >> 5) & 0xF,
                  date & 0x1F);
    return buf;
}

std::string packedTimeText(std::uint16_t time) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", time >> 11, (time >> 5) & 0x3F,
                  (time & 0x1F) * 2);
    return buf;
}

std::string packedDateTimeText(std::uint16_t date, std::uint16_t time) {
    return packedDateText(date) + ' ' + packedTimeText(time);
}

} // namespace quorvane
