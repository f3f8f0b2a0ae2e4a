#include "records/record_decoder.h"

#include "protocol/code_tables.h"

#include <cstdio>

#include "model/packed_time.h"
#include "model/status_word.h"
#include "records/record_tables.h"
#include "rights/card_number.h"

namespace quorvane {
namespace {

constexpr unsigned kSubtypeSignal = 1;
constexpr unsigned kSubtypeAbnormal = 3;
constexpr unsigned kSubtypeFire = 4;
constexpr unsigned kSubtypeAlarm = 5;
constexpr unsigned kSubtypeDebug = 6;
constexpr std::uint32_t kConnectionChangeCode = 112;
constexpr std::uint32_t kInternalTimerCode = 225;

std::string_view trimmed(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view nameOf(const CommandNameFn& commandName, std::uint32_t data0) {
    return commandName ? commandName(data0 & 0xFF) : quorvane::commandName(static_cast<int>(data0 & 0xFF));
}

void appendUnsigned(std::string& out, unsigned v) { out += std::to_string(v); }

} // namespace

void RecordFieldMap::set(std::string_view key, std::string_view value) {
    value = trimmed(value);
    for (auto& [k, v] : entries_)
        if (k == key) {
            v.assign(value);
            return;
        }
    entries_.emplace_back(std::string(key), std::string(value));
}

std::string_view RecordFieldMap::get(std::string_view key) const {
    for (const auto& [k, v] : entries_)
        if (k == key) return v;
    return {};
}

bool RecordFieldMap::contains(std::string_view key) const {
    for (const auto& e : entries_)
        if (e.first == key) return true;
    return false;
}

std::string recordCardText(const LogRecord& record, bool threeByte) {
    if (record.kind() != kKindCard) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d;%d", static_cast<int>(record.data0),
                      static_cast<int>(record.data1));
        return buf;
    }
    return formatCardWords(record.data0, record.data1, record.longNumberForm(), threeByte);
}

std::string connectionChangeText(std::uint32_t code, std::uint32_t value, unsigned subtype) {
    std::string out = ";";
    if (code == kConnectionChangeCode && subtype == kSubtypeAbnormal)
        out += connectionEventText(value);
    else if (code == kInternalTimerCode && subtype == kSubtypeDebug)
        out += statusWordText(value, false);
    return out;
}

std::string recordExtraText(const LogRecord& r, const CommandNameFn& commandName) {
    std::string out;
    switch (r.subtype()) {
    case kSubtypeSignal:
    case kSubtypeFire:
        if (r.data0 == 0 && r.data1 == 255) return "[系统启动]";
        // The channel prints as a signed number, like the value field of event records.
        out = "[通道" + std::to_string(static_cast<std::int32_t>(r.data0));
        out += r.data1 != 0 ? "按下/触发]" : "松开/恢复]";
        return out;
    case kSubtypeAbnormal:
        out = "[";
        out += nameOf(commandName, r.data0);
        out += connectionChangeText(r.data0, r.data1, kSubtypeAbnormal);
        out += ']';
        return out;
    case kSubtypeAlarm:
        out = "[";
        out += alarmName(r.data0);
        out += r.resultCode == 0 ? "]警告消除,动作继电器=" : "]警告触发,动作继电器=";
        if (r.data1 == 255) out += "无";
        else appendUnsigned(out, r.data1);
        return out;
    case kSubtypeDebug: {
        char buf[64];
        std::snprintf(buf, sizeof buf, ";数据=%u/0x%08x", r.data1, r.data1);
        out = "[触发命令=";
        out += nameOf(commandName, r.data0);
        out += buf;
        out += ';';
        out += connectionChangeText(r.data0, r.data1, kSubtypeDebug);
        out += ']';
        return out;
    }
    default: return out;
    }
}

std::string decodeRecord(RecordFieldMap* fieldMap, const LogRecord& r, std::uint32_t sequence,
                         const RecordDecodeOptions& options) {
    const unsigned kind = r.kind();
    const std::string_view kindText = kindName(kind);
    const std::string_view offlineText = r.offline() ? "脱机" : "正常";
    const std::string time = packedDateTimeText(r.packedDate, r.packedTime);
    const unsigned door = r.door();
    const unsigned reader = r.reader();
    const std::string_view dir = directionText(r.direction());
    const std::string_view result = resultText(r.resultCode);
    const std::string_view subtype = subtypeNamePadded(r.subtype());

    if (fieldMap) {
        fieldMap->set("type", kindText);
        fieldMap->set("offline", offlineText);
        fieldMap->set("time", time);
        fieldMap->set("door", std::to_string(door));
        fieldMap->set("reader", std::to_string(reader));
        fieldMap->set("dir", dir);
        fieldMap->set("result", result);
    }

    char seq[16];
    std::snprintf(seq, sizeof seq, "%010u", sequence);
    std::string line;
    line.reserve(256);
    line += "【序号=";
    line += seq;
    line += ",类型=";
    line += kindText;
    line += '(';
    line += offlineText;
    line += "),子类型=";
    line += subtype;
    line += ",时间=";
    line += time;
    line += ",门号=";
    appendUnsigned(line, door);
    line += ",读头=";
    appendUnsigned(line, reader);
    line += ",方向=";
    line += dir;
    line += ",结果=";
    line += result;

    if (kind == kKindOperation) {
        std::string_view source = nameOf(options.commandName, r.data0);
        if (fieldMap) {
            fieldMap->set("subtype", subtype);
            fieldMap->set("data", source);
        }
        line += ",操作对象=";
        line += objectName(r.data1);
        line += ",来源命令=";
        line += source;
    } else {
        std::string value = recordCardText(r, options.threeByte);
        std::string extra = recordExtraText(r, options.commandName);
        if (fieldMap) {
            fieldMap->set("subtype", subtype);
            fieldMap->set("card", value);
            fieldMap->set("data", extra);
        }
        line += ',';
        line += dataLabel(kind);
        line += '=';
        line += value;
        line += extra;
    }
    line += " 】";
    return line;
}

} // namespace quorvane
