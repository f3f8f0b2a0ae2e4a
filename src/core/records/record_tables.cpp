#include "records/record_tables.h"

#include <array>
#include <string>

#include "infra/codepage.h"

namespace quorvane {
namespace {

struct Entry {
    std::uint32_t code;
    std::string_view text;
};

template <std::size_t N>
std::string_view lookUp(const Entry (&table)[N], std::uint32_t code, std::string_view fallback) {
    for (const auto& e : table)
        if (e.code == code) return e.text;
    return fallback;
}

constexpr std::string_view kSubtypes[] = {"正常记录", "信号状态变化事件", "测试记录", "异常记录",
                                          "消防联动", "安全报警",         "调试",     "更新配置",
                                          "系统维护", "远程操作"};
constexpr std::string_view kUnknown = "未知";

constexpr Entry kResults[] = {
    {0, "成功"},
    {2, "时段错误"},
    {3, "超次"},
    {4, "无权限"},
    {5, "读头错误"},
    {6, "过期"},
    {7, "工作模式禁止"},
    {8, "内部错误"},
    {9, "解析号码失败"},
    {10, "过闸超时"},
    {11, "反潜回"},
    {12, "不支持"},
    {13, "未知错误"},
    {14, "失败"},
    {17, "密码错误"},
    {18, "错误的同步类型"},
    {19, "错误的同步消息格式"},
    {20, "同步数据限制"},
    {21, "同步数据数量或者序号不规范"},
    {22, "网络状态未知"},
    {23, "网络断开"},
    {24, "网络恢复"},
    {25, "网络检查重启芯片"},
    {26, "网络检查重启设备"},
    {27, "防冲撞"},
    {28, "门禁人工锁定"},
    {29, "多门互锁"},
    {30, "读写卡失败"},
    {31, "组号错误"},
    {32, "系统状态详情"},
    {33, "黑名单"},
    {34, "存储错误"},
    {36, "在内人数过多"},
    {37, "年龄限制"},
    {38, "证件过期"},
    {41, "已挂失"},
};

constexpr Entry kObjects[] = {
    {1, "基本配置"}, {2, "门禁配置"}, {3, "所有配置"}, {4, "继电器"}, {5, "固件"},
    {6, "时间芯片"}, {7, "网络"},     {8, "声音设备"}, {9, "电源"},   {255, "所有"},
};

constexpr Entry kConnectionEvents[] = {
    {100, "TCP/WEB建立"},     {101, "TCP/WEB连接失败"}, {102, "TCP/WEB断开"},
    {103, "TCP/WEB连接超时"}, {200, "WEBSOCK建立"},     {201, "WEBSOCK连接失败"},
    {202, "WEBSOCK断开"},     {203, "WEBSOCK连接超时"}, {204, "WEBSOCK协议切换"},
    {205, "WEBSOCK自我介绍"},
};

// Padding is computed once from the GBK width of each name.
struct PaddedSubtypes {
    std::array<std::string, std::size(kSubtypes) + 1> names;
    PaddedSubtypes() {
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string_view name = i < std::size(kSubtypes) ? kSubtypes[i] : kUnknown;
            std::size_t width = gbkLength(name);
            names[i] = std::string(name) + std::string(width < 16 ? 16 - width : 0, ' ');
        }
    }
};

} // namespace

std::string_view kindName(unsigned kind) {
    switch (kind) {
    case 0: return "没有数据";
    case 1: return "事件记录";
    case 2: return "刷卡记录";
    case 3: return "操作日志";
    default: return "未知类型";
    }
}

std::string_view subtypeName(unsigned subtype) {
    return subtype < std::size(kSubtypes) ? kSubtypes[subtype] : kUnknown;
}

std::string_view subtypeNamePadded(unsigned subtype) {
    static const PaddedSubtypes padded;
    return padded.names[subtype < std::size(kSubtypes) ? subtype : std::size(kSubtypes)];
}

std::string_view directionText(unsigned direction) {
    switch (direction) {
    case 1: return "进入";
    case 2:
    case 3: return "离开";
    default: return kUnknown;
    }
}

std::string_view resultText(unsigned result) { return lookUp(kResults, result, kUnknown); }

std::string_view alarmName(std::uint32_t alarm) {
    switch (alarm) {
    case 0: return "恢复";
    case 1: return "未关";
    case 2: return "闯入";
    default: return kUnknown;
    }
}

std::string_view objectName(std::uint32_t object) { return lookUp(kObjects, object, ""); }

std::string_view connectionEventText(std::uint32_t value) {
    return lookUp(kConnectionEvents, value, kUnknown);
}

std::string_view dataLabel(unsigned kind) {
    switch (kind) {
    case 1: return "事件数据";
    case 2: return "卡号数据";
    default: return "字节数据";
    }
}

} // namespace quorvane
