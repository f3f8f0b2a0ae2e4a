#include "model/config_table.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

namespace quorvane {

namespace {

constexpr auto Basic = ConfigBlock::Basic;
constexpr auto Extended = ConfigBlock::Extended;
constexpr auto Reader = ConfigBlock::ReaderSetting;
constexpr auto Device = ConfigBlock::DeviceSetting;
constexpr auto Big = ByteOrder::Big;
constexpr auto Time = FieldKind::PackedTime;

// Repeated parts of the door-access block and of a reader setting.
constexpr FieldGroup kSerialPorts{"serialPort", 32, 36, 4, 0, "串口"};
constexpr FieldGroup kWiegandReaders{"wiegandReader", 176, 28, 4, 0, "韦根"};
constexpr FieldGroup kRelays{"relay", 288, 4, 4, 0, "继电器"};
constexpr FieldGroup kSignals{"signal", 304, 4, 8, 0, "信号"};
constexpr FieldGroup kTimeZones{"timeZone", 336, 8, 8, 0, "时段"};
// The option words: one element per bit of a little-endian 32-bit word.
constexpr FieldGroup kOptionsLow{"optionsLow", 408, 0, 32, 1, "选项1-32"};
constexpr FieldGroup kOptionsHigh{"optionsHigh", 400, 0, 32, 1, "选项33-64"};
constexpr FieldGroup kCardReadTimes{"cardReadTimes", 420, 1, 3, 0, "读卡"};
// The three mode slots of a reader setting, tried in order.
constexpr FieldGroup kSlots{"slot", 4, 8, 3, 0, "工作模式"};

using D = DeviceUIInfo;

// clang-format off
constexpr ConfigField kFields[] = {
    // Basic block: payload bytes 0..115 of both forms.
    {.key = "name", .block = Basic, .offset = 0, .width = 16, .kind = FieldKind::CountedText, .caption = "设备名称", .member = &D::name},
    {.key = "mac", .block = Basic, .offset = 16, .width = 6, .kind = FieldKind::Mac, .caption = "物理地址", .member = &D::mac},
    {.key = "ip", .block = Basic, .offset = 22, .width = 4, .kind = FieldKind::Ipv4, .caption = "IP地址", .member = &D::ip},
    {.key = "mask", .block = Basic, .offset = 26, .width = 4, .kind = FieldKind::Ipv4, .caption = "子网掩码", .member = &D::mask},
    {.key = "gateway", .block = Basic, .offset = 30, .width = 4, .kind = FieldKind::Ipv4, .caption = "网关", .member = &D::gateway},
    {.key = "hostAddress", .block = Basic, .offset = 34, .width = 4, .kind = FieldKind::Ipv4, .caption = "电脑地址", .member = &D::hostAddress},
    {.key = "devicePort", .block = Basic, .offset = 38, .width = 2, .order = Big, .caption = "设备端口", .readOnly = true, .member = &D::devicePort},
    {.key = "hostPort", .block = Basic, .offset = 40, .width = 2, .order = Big, .caption = "电脑端口", .member = &D::hostPort},
    {.key = "reportMode", .block = Basic, .offset = 42, .enumKey = "rpt", .caption = "上报模式", .member = &D::reportMode},
    {.key = "groupNo", .block = Basic, .offset = 43, .caption = "设备组号", .member = &D::groupNo},
    {.key = "hwVariant", .block = Basic, .offset = 44, .readOnly = true, .member = &D::hwVariant},
    {.key = "deviceNo", .block = Basic, .offset = 45, .caption = "设备序号", .member = &D::deviceNo},
    {.key = "operatorPassword", .block = Basic, .offset = 46, .width = 6, .kind = FieldKind::Text, .member = &D::operatorPassword},
    {.key = "productSerial", .block = Basic, .offset = 52, .width = 16, .kind = FieldKind::Raw, .caption = "产品序号", .readOnly = true, .member = &D::productSerial},
    {.key = "reserved1", .block = Basic, .offset = 68, .width = 16, .kind = FieldKind::Raw, .readOnly = true, .member = &D::reserved1},
    {.key = "reserved2", .block = Basic, .offset = 84, .width = 16, .kind = FieldKind::Raw, .readOnly = true, .member = &D::reserved2},
    {.key = "ipAlloc", .block = Basic, .offset = 100, .shift = 0, .bits = 4, .enumKey = "ipalloc", .caption = "分配模式", .member = &D::ipAlloc},
    {.key = "blockVersion", .block = Basic, .offset = 100, .shift = 4, .bits = 2, .readOnly = true, .member = &D::blockVersion},
    {.key = "reservedBits", .block = Basic, .offset = 100, .shift = 6, .bits = 2, .readOnly = true, .member = &D::reservedBits},
    {.key = "hwModel", .block = Basic, .offset = 101, .readOnly = true, .member = &D::hwModel},
    {.key = "reserved3", .block = Basic, .offset = 102, .width = 2, .readOnly = true, .member = &D::reserved3},
    {.key = "netTimeout", .block = Basic, .offset = 104, .width = 2, .caption = "网络超时", .member = &D::netTimeout},
    {.key = "passTimeout", .block = Basic, .offset = 106, .width = 2, .caption = "过闸超时", .member = &D::passTimeout},
    {.key = "firmwareVersion", .block = Basic, .offset = 108, .width = 7, .kind = FieldKind::Text, .caption = "固件版本", .readOnly = true, .member = &D::firmwareVersion},
    {.key = "basicChecksum", .block = Basic, .offset = 115, .kind = FieldKind::Sum8, .readOnly = true},

    // Extended part: bytes 116..191, written whatever the controller's form.
    {.key = "pppoeAccount", .block = Extended, .offset = 116, .width = 32, .kind = FieldKind::Text, .member = &D::pppoeAccount},
    {.key = "pppoePassword", .block = Extended, .offset = 148, .width = 10, .kind = FieldKind::Text, .member = &D::pppoePassword},
    {.key = "serverAddress", .block = Extended, .offset = 158, .width = 4, .kind = FieldKind::Ipv4, .caption = "区域服务器", .member = &D::serverAddress},
    {.key = "serverPort", .block = Extended, .offset = 162, .width = 2, .order = Big, .member = &D::serverPort},
    {.key = "extMarker", .block = Extended, .offset = 190, .readOnly = true, .member = &D::extMarker},
    {.key = "extendedChecksum", .block = Extended, .offset = 191, .kind = FieldKind::Sum8, .readOnly = true},

    // Door-access block (offsets D). D16..D19 are carried unchanged.
    {.key = "logCount", .offset = 0, .width = 4, .caption = "日志数量", .readOnly = true, .shown = Shown::Signed},
    {.key = "systemStatus", .offset = 4, .width = 4, .caption = "系统状态", .readOnly = true, .shown = Shown::SystemStatus},
    {.key = "rightCount", .offset = 8, .width = 4, .caption = "权限数量", .readOnly = true, .shown = Shown::Signed},
    {.key = "reportIndex", .offset = 12, .width = 4, .caption = "上报索引", .shown = Shown::Signed},
    {.key = "inCount", .offset = 20, .width = 2, .caption = "进统计", .readOnly = true},
    {.key = "outCount", .offset = 22, .width = 2, .caption = "出统计", .readOnly = true},
    {.key = "insideCount", .offset = 24, .width = 2, .caption = "在内统计", .readOnly = true},
    {.key = "insideLimit", .offset = 26, .width = 2, .caption = "在内限制"},
    {.key = "runState", .offset = 28, .width = 4, .caption = "运行状态", .readOnly = true, .shown = Shown::RunState},
    // Serial port entry: bytes 5..7 carried unchanged; 8..35 a reader or display device setting.
    {.key = "serialPort.baud", .group = &kSerialPorts, .offset = 0, .width = 4, .caption = "波特率"},
    {.key = "serialPort.deviceType", .group = &kSerialPorts, .offset = 4, .enumKey = "devtype", .caption = "设备类型"},
    {.key = "serialPort.setting", .group = &kSerialPorts, .offset = 8, .width = 28, .kind = FieldKind::Raw, .caption = "设备配置"},
    {.key = "wiegandReader.setting", .group = &kWiegandReaders, .offset = 0, .width = 28, .kind = FieldKind::Raw, .caption = "读头配置"},
    // Relay entry: state, flags, open time in 10 ms units big-endian.
    {.key = "relay.state", .group = &kRelays, .offset = 0, .enumKey = "relayerstate", .caption = "默认状态"},
    {.key = "relay.report", .group = &kRelays, .offset = 1, .shift = 0, .bits = 1, .enumKey = "needrpt", .caption = "上报"},
    {.key = "relay.fire", .group = &kRelays, .offset = 1, .shift = 1, .bits = 1, .enumKey = "fire", .caption = "消防联动"},
    // 0 none, else the time-zone number minus 1 (zones 2..8 stored as 1..7).
    {.key = "relay.zone", .group = &kRelays, .offset = 1, .shift = 2, .bits = 4, .caption = "时段状态"},
    {.key = "relay.zoneState", .group = &kRelays, .offset = 1, .shift = 6, .bits = 2, .enumKey = "relayerstate"},
    {.key = "relay.openTime", .group = &kRelays, .offset = 2, .width = 2, .order = Big, .caption = "开门时长", .scale = 10},
    // Signal entry: byte 3 bits 1..7 carried unchanged.
    {.key = "signal.type", .group = &kSignals, .offset = 0, .enumKey = "signaltype", .caption = "信号类型"},
    {.key = "signal.door", .group = &kSignals, .offset = 1, .caption = "对应门号"},
    {.key = "signal.direction", .group = &kSignals, .offset = 2, .enumKey = "signaldir", .caption = "方向/门磁类型"},
    {.key = "signal.log", .group = &kSignals, .offset = 3, .shift = 0, .bits = 1, .caption = "记录日志"},
    // Time zone entry; weekdays bit 0 Monday .. bit 6 Sunday, bit 7 carried.
    {.key = "timeZone.start", .group = &kTimeZones, .offset = 0, .width = 2, .kind = Time, .caption = "起始时间"},
    {.key = "timeZone.end", .group = &kTimeZones, .offset = 2, .width = 2, .kind = Time, .caption = "结束时间"},
    {.key = "timeZone.weekdays", .group = &kTimeZones, .offset = 4, .shift = 0, .bits = 7, .caption = "星期", .shown = Shown::Weekdays},
    {.key = "timeZone.reserved", .group = &kTimeZones, .offset = 5, .width = 3, .kind = FieldKind::Raw, .caption = "预留"},
    // Options and settings.
    {.key = "optionsHigh", .group = &kOptionsHigh, .offset = 0, .width = 4, .shift = 0, .bits = 1},
    {.key = "rightMode", .offset = 404, .width = 4, .enumKey = "rightmode", .caption = "权限格式"},
    {.key = "optionsLow", .group = &kOptionsLow, .offset = 0, .width = 4, .shift = 0, .bits = 1},
    {.key = "procMode", .offset = 412, .enumKey = "procmode", .caption = "处理模式"},
    {.key = "autoAuthorize", .offset = 413, .caption = "自动授权"},
    {.key = "openDelay", .offset = 414, .caption = "延时开门"},
    {.key = "reservedSetting", .offset = 415, .caption = "预留"},
    {.key = "closeTimeout", .offset = 416, .caption = "关门超时"},
    {.key = "timerTask", .offset = 417, .caption = "定时任务"},
    {.key = "timerTask.condition", .offset = 417, .shift = 0, .bits = 4, .enumKey = "timercond"},
    {.key = "timerTask.action", .offset = 417, .shift = 4, .bits = 3, .enumKey = "timertask"},
    {.key = "timerTask.restart", .offset = 417, .shift = 7, .bits = 1, .caption = "重新启动控制器"},
    {.key = "extendedOpen", .offset = 418, .caption = "扩展开门"},
    {.key = "openAlarmOffset", .offset = 419, .caption = "未关门警告"},
    {.key = "cardReadTimes", .group = &kCardReadTimes, .offset = 0, .caption = "读取块号"},
    {.key = "lightSound", .offset = 423, .caption = "灯光声音"},

    // Reader setting (28 bytes). Byte 3 bits 4..7 and byte 11 + 8k are carried unchanged.
    {.key = "reader.direction", .block = Reader, .offset = 0, .enumKey = "dir", .caption = "方向"},
    {.key = "reader.relay", .block = Reader, .offset = 1, .caption = "对应继电器"},
    {.key = "reader.report", .block = Reader, .offset = 2, .enumKey = "needrpt", .caption = "是否上报事件"},
    {.key = "reader.wgFormat", .block = Reader, .offset = 3, .shift = 0, .bits = 4, .enumKey = "wgformat", .caption = "韦根格式"},
    {.key = "reader.slot.start", .block = Reader, .group = &kSlots, .offset = 0, .width = 2, .kind = Time, .caption = "起始时间"},
    {.key = "reader.slot.end", .block = Reader, .group = &kSlots, .offset = 2, .width = 2, .kind = Time, .caption = "结束时间"},
    {.key = "reader.slot.mode", .block = Reader, .group = &kSlots, .offset = 4, .enumKey = "mode", .caption = "工作模式"},
    {.key = "reader.slot.weekdays", .block = Reader, .group = &kSlots, .offset = 5, .shift = 0, .bits = 7, .caption = "星期", .shown = Shown::Weekdays},
    {.key = "reader.slot.specialMode", .block = Reader, .group = &kSlots, .offset = 6, .shift = 0, .bits = 4, .enumKey = "specialmode", .caption = "专用模式"},

    // Display device setting (the same 28 bytes); byte 1 is carried unchanged.
    {.key = "device.direction", .block = Device, .offset = 0, .enumKey = "dir", .caption = "方向"},
    {.key = "device.reader", .block = Device, .offset = 2, .caption = "对应读头"},
    {.key = "device.relay", .block = Device, .offset = 3, .caption = "对应继电器"},
    {.key = "device.title", .block = Device, .offset = 4, .width = 24, .kind = FieldKind::Text, .caption = "显示标题"},
};
// clang-format on

const ConfigField& readerArea(int reader) {
    static const ConfigField& serial = configField("serialPort.setting");
    static const ConfigField& wiegand = configField("wiegandReader.setting");
    return reader < 4 ? serial : wiegand;
}

} // namespace

std::span<const ConfigField> configFields() {
    return kFields;
}

const ConfigField* findConfigField(std::string_view key) {
    const auto* it = std::find_if(std::begin(kFields), std::end(kFields),
                                  [&](const auto& f) { return f.key == key; });
    return it == std::end(kFields) ? nullptr : it;
}

const ConfigField& configField(std::string_view key) {
    const ConfigField* f = findConfigField(key);
    if (!f)
        throw std::out_of_range("no configuration field " + std::string(key));
    return *f;
}

std::size_t layoutSize(ConfigBlock block) {
    switch (block) {
    case ConfigBlock::Basic:
        return kBasicBlockSize;
    case ConfigBlock::Extended:
        return kExtendedBlockSize;
    case ConfigBlock::Door:
        return kDoorBlockSize;
    case ConfigBlock::ReaderSetting:
    case ConfigBlock::DeviceSetting:
        break;
    }
    return 28;
}

Bytes readerSetting(Bytes doorBlock, int reader) {
    if (reader < 0 || reader >= kReaderCount)
        return {};
    return fieldBytes(readerArea(reader), doorBlock, reader % 4);
}

MutableBytes readerSetting(MutableBytes doorBlock, int reader) {
    if (reader < 0 || reader >= kReaderCount)
        return {};
    return fieldBytes(readerArea(reader), doorBlock, reader % 4);
}

FieldRef optionEntry(int option) {
    static const ConfigField& low = configField("optionsLow");
    static const ConfigField& high = configField("optionsHigh");
    if (option < 1 || option > kOptionCount)
        return {};
    return option <= 32 ? FieldRef{&low, option - 1} : FieldRef{&high, option - 33};
}

bool optionSet(Bytes doorBlock, int option) {
    FieldRef ref = optionEntry(option);
    return ref.field && readNumber(*ref.field, doorBlock, ref.index) != 0;
}

bool setOption(MutableBytes doorBlock, int option, bool on) {
    FieldRef ref = optionEntry(option);
    return ref.field && writeNumber(*ref.field, doorBlock, ref.index, on ? 1 : 0);
}

} // namespace quorvane
