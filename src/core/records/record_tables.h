#pragma once
// The code tables of journal records. Every look-up is total: a code outside its table gives
// that table's default text.
#include <cstdint>
#include <string_view>

namespace quorvane {

std::string_view kindName(unsigned kind);
std::string_view subtypeName(unsigned subtype);
// The subtype name padded on the right with spaces to 16 bytes of its GBK form, as the record
// line shows it.
std::string_view subtypeNamePadded(unsigned subtype);
std::string_view directionText(unsigned direction);
std::string_view resultText(unsigned result);
std::string_view alarmName(std::uint32_t alarm);
// Empty for an object that has no name.
std::string_view objectName(std::uint32_t object);
std::string_view connectionEventText(std::uint32_t value);
// 事件数据, 卡号数据 or 字节数据 by kind.
std::string_view dataLabel(unsigned kind);

} // namespace quorvane
