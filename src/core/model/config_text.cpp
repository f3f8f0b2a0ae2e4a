#include "model/config_text.h"

#include <cstdio>
#include <optional>
#include <span>

#include "model/basic_block.h"
#include "model/config_table.h"

namespace quorvane {

namespace {

// One value of a detail line: separator (left out before the first value a line prints),
// label, the field and how it shows, and a suffix.
struct Item {
    std::string_view separator;
    std::string_view label;
    std::string_view key;
    bool asNumber = false; // the stored number even where the field has an enumeration
    int index = -1;        // element of the field's group; -1 takes the line's element
    std::string_view suffix = {};
};

// clang-format off
constexpr Item kCommunication[] = {
    {"", "IP地址:", "ip"}, {",", "子网掩码:", "mask"}, {",", "网关:", "gateway"},
    {",", "电脑地址:", "hostAddress"}, {",", "电脑端口:", "hostPort"},
    {",", "设备端口:", "devicePort"}, {",", "区域服务器:", "serverAddress"}, {":", "", "serverPort"},
};
constexpr Item kCounters[] = {
    {"", "权限数量:", "rightCount"}, {",", "日志数量:", "logCount"},
    {",", "上报索引:", "reportIndex"}, {",", "进统计:", "inCount"}, {",", "出统计:", "outCount"},
    {",", "在内统计:", "insideCount"}, {",", "在内限制:", "insideLimit"},
};
constexpr Item kState[] = {
    {"", "系统状态:", "systemStatus", true}, {":", "", "systemStatus"},
    {",", "权限格式:", "rightMode"}, {",", "上报模式:", "reportMode"}, {",", "分配模式:", "ipAlloc"},
};
constexpr Item kRunState[] = {{"", "", "runState"}};
constexpr Item kSettings[] = {
    {"", "网络超时:", "netTimeout"}, {",", "过闸超时:", "passTimeout", false, -1, "秒"},
    {",", "关门超时:", "closeTimeout", false, -1, "秒"}, {",", "未关门报警偏移:", "openAlarmOffset"},
    {",", "读卡:", "cardReadTimes", false, 0}, {"-", "", "cardReadTimes", false, 1},
    {"-", "", "cardReadTimes", false, 2}, {",", "灯光:", "lightSound"}, {",", "任务:", "timerTask"},
    {",", "扩展开门:", "extendedOpen"}, {",", "处理模式:", "procMode"},
    {",", "自动授权:", "autoAuthorize", false, -1, "个5分钟"},
    {",", "延时开门:", "openDelay", false, -1, "个0.1秒"}, {",", "预留:", "reservedSetting"},
};
constexpr Item kSerialPort[] = {
    {"", "波特率:", "serialPort.baud"}, {",", "设备:", "serialPort.deviceType"},
};
constexpr Item kReader[] = {
    {"", "方向:", "reader.direction"}, {",", "继电器:", "reader.relay", true},
    {",", "上报:", "reader.report", true}, {",", "格式:", "reader.wgFormat"},
    {",", "模式1:", "reader.slot.mode", false, 0}, {",", "专用1:", "reader.slot.specialMode", false, 0},
    {",", "模式2:", "reader.slot.mode", false, 1}, {",", "专用2:", "reader.slot.specialMode", false, 1},
    {",", "模式3:", "reader.slot.mode", false, 2}, {",", "专用3:", "reader.slot.specialMode", false, 2},
};
constexpr Item kRelay[] = {
    {"", "状态:", "relay.state"}, {",", "开门时长:", "relay.openTime"}, {",", "上报:", "relay.report"},
    {",", "消防:", "relay.fire"}, {",", "时段状态:", "relay.zone", true},
    {"=", "", "relay.zoneState", true},
};
constexpr Item kSignal[] = {
    {"", "类型:", "signal.type"}, {",", "门号", "signal.door"},
    {",", "方向/类型=", "signal.direction"},
};
constexpr Item kTimeZone[] = {
    {"", "", "timeZone.start"}, {"-", "", "timeZone.end"}, {",", "星期", "timeZone.weekdays"},
    {";", "预留:", "timeZone.reserved"},
};
// clang-format on

// Where a line's values come from: the record (absent for the door-access block alone), the
// door-access block, the reader setting of the line, and the line's element of its group.
struct Source {
    const DeviceUIInfo* record = nullptr;
    Bytes door;
    Bytes reader;
    int element = 0;
};

std::optional<std::string> itemValue(const Item& item, const Source& src) {
    const ConfigField& f = configField(item.key);
    int index = item.index >= 0 ? item.index : (f.group ? src.element : 0);
    Bytes block;
    switch (f.block) {
    case ConfigBlock::Basic:
    case ConfigBlock::Extended:
        if (!src.record)
            return std::nullopt;
        return recordFieldText(*src.record, f);
    case ConfigBlock::Door:
        block = src.door;
        break;
    case ConfigBlock::ReaderSetting:
    case ConfigBlock::DeviceSetting:
        block = src.reader;
        break;
    }
    if (!fieldFits(f, block.size(), index))
        return std::string();
    if (!item.asNumber)
        return readText(f, block, index);
    std::uint32_t v = readNumber(f, block, index);
    return f.shown == Shown::Signed ? std::to_string(static_cast<std::int32_t>(v))
                                    : std::to_string(v);
}

// The items a source holds, the separator before the first one left out.
void appendItems(std::string& out, std::span<const Item> items, const Source& src) {
    bool first = true;
    for (const Item& item : items) {
        auto value = itemValue(item, src);
        if (!value)
            continue;
        if (!first)
            out += item.separator;
        out += item.label;
        out += *value;
        out += item.suffix;
        first = false;
    }
}

void appendLine(std::string& out, std::string_view head, std::span<const Item> items,
                const Source& src) {
    out += head;
    appendItems(out, items, src);
    out += '\n';
}

std::string optionsLine(Bytes door) {
    std::string out = "勾选选项=";
    for (int n = 1; n <= kOptionCount; ++n)
        if (optionSet(door, n))
            out += std::to_string(n) + ";";
    return out + "\n";
}

// A group of numbered lines after an empty line: head + number + "=" + values + tail.
template <class Fill>
void appendGroup(std::string& out, std::string_view head, int count, Fill fill) {
    out += '\n';
    for (int i = 0; i < count; ++i) {
        out += head;
        out += std::to_string(i + 1) + "=";
        fill(i);
        out += '\n';
    }
}

void appendBlocks(std::string& out, Source src) {
    appendGroup(out, "串口", 4, [&](int i) {
        src.element = i;
        src.reader = readerSetting(src.door, i);
        appendItems(out, kSerialPort, src);
        out += ",";
        appendItems(out, kReader, src);
        out += ";";
    });
    appendGroup(out, "韦根", 4, [&](int i) {
        src.element = i;
        src.reader = readerSetting(src.door, 4 + i);
        appendItems(out, kReader, src);
        out += ";";
    });
    appendGroup(out, "继电器", 4, [&](int i) {
        src.element = i;
        appendItems(out, kRelay, src);
    });
    appendGroup(out, "信号", 8, [&](int i) {
        src.element = i;
        appendItems(out, kSignal, src);
        out += ";";
    });
    appendGroup(out, "时段", 8, [&](int i) {
        src.element = i;
        appendItems(out, kTimeZone, src);
    });
}

} // namespace

std::string devDetailText(const DeviceUIInfo& r, const std::string& serviceState) {
    Source src{&r, r.doorConfig, {}, 0};
    std::string out = "服务运行=" + serviceState + "\n";
    char flag[16];
    std::snprintf(flag, sizeof flag, "%05d", r.getRawDeviceId());
    out += "基本信息=产品序号:" + r.getGlobalId() + ",设备名称:" + r.name + ",设备标志:" + flag +
           ",固件版本:" + r.getHardwareInfo() + ",物理地址:" + r.mac +
           ",设备组号:" + std::to_string(r.groupNo) + ",设备序号:" + std::to_string(r.deviceNo) +
           "\n";
    appendLine(out, "通信信息=", kCommunication, src);
    appendLine(out, "统计信息=", kCounters, src);
    appendLine(out, "设备状态=", kState, src);
    appendLine(out, "运行状态=", kRunState, src);
    appendLine(out, "扩展配置=", kSettings, src);
    out += optionsLine(r.doorConfig);
    out += "统计值=";
    for (auto v : r.statistics)
        out += std::to_string(static_cast<std::int32_t>(v)) + ",";
    out += "\n";
    appendBlocks(out, src);
    return out;
}

std::string doorBlockText(Bytes doorBlock) {
    Source src{nullptr, doorBlock, {}, 0};
    std::string out;
    appendLine(out, "统计信息=", kCounters, src);
    appendLine(out, "设备状态=", kState, src);
    appendLine(out, "运行状态=", kRunState, src);
    appendLine(out, "扩展配置=", kSettings, src);
    out += optionsLine(doorBlock);
    appendBlocks(out, src);
    return out;
}

} // namespace quorvane
