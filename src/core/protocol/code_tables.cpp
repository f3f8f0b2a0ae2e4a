#include "protocol/code_tables.h"

#include <map>

namespace quorvane {

std::string_view commandName(int code) {
    static const std::map<int, const char*> kNames = {
        {2, "设备搜索"},         {4, "保存基本配置"},  {6, "刷新统计"},       {8, "清除统计"},
        {10, "重启设备"},        {12, "获取门禁配置"}, {14, "保存门禁配置"},  {16, "远程开门"},
        {18, "设置权限"},        {20, "删除权限"},     {22, "检查权限"},      {24, "清除权限"},
        {26, "设置模式"},        {28, "设置上报"},     {30, "获取模式"},      {32, "取内容"},
        {34, "写内容"},          {36, "取门状态"},     {38, "设置时间"},      {40, "获取时间"},
        {48, "取日志"},          {50, "重新启动"},     {52, "获取权限"},      {54, "设置权限"},
        {56, "实时监控"},        {64, "清除日志"},     {66, "重新启动"},      {68, "消息确认"},
        {70, "清除缓存证件"},    {72, "清除程序"},     {80, "添加权限"},      {96, "备份配置"},
        {98, "备份出厂设置"},    {100, "恢复配置"},    {102, "恢复出厂设置"}, {112, "连接变化"},
        {128, "升级固件"},       {130, "蜂鸣器"},      {132, "扩展电源开关"}, {134, "迪文屏显示"},
        {136, "LED显示"},        {144, "条屏提示语"},  {146, "TTS放音"},      {148, "文本指令"},
        {224, "内部未知请求源"}, {225, "内部定时器"},  {226, "内部初始化"},   {227, "用户物理操作"},
        {228, "拨号或者DHCP"},   {229, "系统启动"},    {241, "填充日志测试"}, {243, "测试"},
        {252, "参数错误"},       {253, "校验错误"},    {254, "格式错误"},     {255, "非法命令"},
    };
    auto it = kNames.find(code);
    return it == kNames.end() ? std::string_view() : it->second;
}

std::string deviceStatusText(int status) {
    switch (status) {
    case 0:
        return "正常";
    case 240:
        return "内部错误";
    case 241:
        return "配置校验失败";
    case 242:
        return "系统时间错误请修改";
    case 243:
        return "权限数量异常请重启设备";
    case 244:
        return "IP冲突";
    case 245:
        return "拨号或者DHCP分配IP失败";
    default:
        return "未知";
    }
}

std::string openResultText(int status) {
    if (status == 1)
        return "操作成功！";
    return status == 0 ? "失败" : "未知";
}

std::string errorReplyText(int status) {
    switch (status) {
    case 0xFC:
        return "参数错误！";
    case 0xFD:
        return "消息校验失败！";
    case 0xFE:
        return "消息格式非法！";
    case 0xFF:
        return "不支持的命令字！";
    default:
        return "设备返回错误，错误码未知！";
    }
}

} // namespace quorvane
