#include "model/enums.h"

#include <cstdio>
#include <map>

namespace quorvane {

namespace {
const std::map<std::string_view, std::vector<std::string_view>>& tables() {
    static const std::map<std::string_view, std::vector<std::string_view>> k = {
        {"rpt", {"TCP服务器", "TCP客户端", "UDP"}},
        {"ipalloc", {"固定IP", "DHCP分配", "PPPOE"}},
        {"rightmode", {"废弃", "有姓名无有效期", "无姓名有有效期"}},
        {"dir", {"未知", "进门", "出门"}},
        {"mode", {"门继电器保持断开", "门继电器保持闭合", "设备自主验证", "身份证刷卡即开IC卡设备自主验证", "忽略刷卡(不实时上报)", "主机通则上报主机处理否则自主验证", "忽略刷卡(实时上报)", "刷任意卡即开", "IC卡自主验证身份证不鉴权", "刷卡自动授权出入(需信号)", "刷卡自动授权返回(先鉴权)", "刷卡自动授权返回(无条件)", "备用1", "备用2", "备用3", "备用4"}},
        {"specialmode", {"未启用", "内部人员专用", "车辆专用", "临时卡专用", "贵宾卡专用", "员工卡专用", "学生卡专用", "所有内部人员可用"}},
        {"wgformat", {"默认", "剪切成WG26", "10进制区码WG26", "原始字符串(串口)", "16进制截低8位", "10进制截低8位", "强制转身份证(串口)", "5字节BCD码(串口)", "备用3", "备用4", "备用5", "备用6", "备用7", "备用8", "备用9"}},
        {"signaltype", {"无效", "红外通过感应", "开门按钮", "门磁信号", "消防联动开门", "车辆检测器", "防冲撞检测器", "进入区域检测", "离开区域检测", "自定义1检测", "自定义2检测", "待应用处理的事件", "防拆防暴检测"}},
        {"signaldir", {"未知/常闭类门磁", "进入/常闭类门磁", "离开/常开类门磁"}},
        {"relayerstate", {"自主控制", "一直断开", "一直闭合"}},
        {"needrpt", {"不上报", "上报", "上报并等待确认"}},
        {"fire", {"不联动", "联动"}},
        {"timercond", {"不运行", "一天1次", "一天2次", "一天3次", "一天4次", "每小时1次", "每小时2次", "每小时6次", "每小时20次", "每分钟1次", "用户自定义1", "用户自定义2", "用户自定义3", "用户自定义4", "用户自定义5", "用户自定义6"}},
        {"timertask", {"无动作", "继电器4闭合1秒", "输出电源断开1秒", "输出电源断开3秒", "22:30-6:30闭门4", "用户自定义3", "用户自定义4", "清除所有非模板权限"}},
        {"procmode", {"默认", "二维码ABB", "Velmora图书馆", "自助登记有屏显及黑名单", "身份证及市民卡开门", "进入信号触发开门关灯"}},
    };
    return k;
}
} // namespace

std::string enumText(std::string_view key, long value) {
    const std::vector<std::string_view>* list = nullptr;
    if (key == "devtype") {
        list = &deviceTypeNames();
    } else {
        auto it = tables().find(key);
        if (it == tables().end()) return {};
        list = &it->second;
    }
    if (key == "procmode" && value >= static_cast<long>(list->size())) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "第%ld项(从1开始)", value + 1);
        return buf;
    }
    if (key == "dir" && value >= 3) return "其它";
    if (value < 0 || value >= static_cast<long>(list->size())) return "未知";
    return std::string((*list)[static_cast<std::size_t>(value)]);
}

std::vector<std::string> enumTexts(std::string_view key) {
    const std::vector<std::string_view>* list = nullptr;
    if (key == "devtype") list = &deviceTypeNames();
    else if (auto it = tables().find(key); it != tables().end()) list = &it->second;
    if (!list) return {};
    return {list->begin(), list->end()};
}

const std::vector<std::string_view>& deviceTypeNames() {
    static const std::vector<std::string_view> k = {
    "无设备",
    "备用1(p)",
    "备用2(j-ic)",
    "备用3(x-ic)",
    "摄像头",
    "打印机",
    "条屏",
    "继电器",
    "条码枪",
    "IC读卡器",
    "IC读写器",
    "发/收卡机",
    "提示音模块(旧)",
    "无线透明传输设备",
    "迪文显示屏",
    "逻特DP288条屏",
    "身份证全信息读头(兼容IC)",
    "TTS语音模块",
    "华大(h)",
    "明华IC",
    "德卡(decard)",
    "银联POS机",
    "SYRIS-485被动读头",
    "fm2000指纹仪",
    "出票机",
    "深圳创自CR603读卡器",
    "称重",
    "温度",
    "海康人脸机5603Z",
    "中显VGUS屏",
    };
    return k;
}

const std::vector<std::string_view>& readerCardFormatNames() {
    static const std::vector<std::string_view> k = {
    "默认",
    "剪切成WG26",
    "10进制区码WG26",
    "原始字符串(串口)",
    "16进制截低8位",
    "10进制截低8位",
    "强制转身份证",
    "20位数字卡号字符串(串口)",
    "5字节BCD码转10位卡号(串口)",
    "原始数据转HEX(串口)",
    "任意值转20位数字卡号(串口)",
    "8字节内值当20位卡号(串口)",
    "备用7",
    "备用8",
    "备用9",
    };
    return k;
}

const std::vector<std::string_view>& portDeviceTypeNames() {
    static const std::vector<std::string_view> k = {
    "无设备",
    "备用1(p)",
    "备用2(j-ic)",
    "备用3(x-ic)",
    "摄像头",
    "打印机",
    "条屏",
    "继电器",
    "条码枪/串口主动设备",
    "IC读卡器",
    "IC读写器",
    "发/收卡机",
    "提示音模块",
    "无线透明传输设备",
    "迪文显示屏",
    "逻特DP288条屏",
    "身份证全信息读头(兼容IC)",
    "TTS语音模块",
    "备用4(h-ic)",
    "明华IC",
    "备用5(decard)",
    "银联闪付POS机",
    "转485读头",
    "指纹仪",
    "出票机",
    "创自读卡器",
    "体重计",
    };
    return k;
}

const std::vector<std::string_view>& optionCaptions() {
    static const std::vector<std::string_view> k = {
    "01.鉴权失败输出(1,2,5,6读头触发继电器3;3,4,7,8读头触发继电器4)",
    "02.启用中控阅读器获取身份证UID功能(精伦阅读器默认为启用)",
    "03.大权限容量模式（选择后权限数量增大10万）",
    "04.存储刷卡的身份证信息",
    "05.允许设备自动主动上报异步日志（注意启用此选项要求设备与上报地址间通信正常，否则会降低设备工作效率）",
    "06.启用看门狗，修改后需要手工断电重启设备（选中后控制器故障可自动重启，尽最大可能恢复正常）",
    "07.禁止刷卡实时同步上报（3G网省流量）",
    "08.网络连接检测",
    "09.网络失败后重启（默认重启网卡，10次后重启设备）",
    "10.启用身份证阅读器读取IC卡号功能（适用于特定设备）",
    "11.允许通过键盘输入卡号或者密码开门",
    "12.调试模式，用于检测读头或者设备工作情况",
    "13.读取IC卡权限数据",
    "14.使用IC卡内权限验证(控制器脱机使用)",
    "15.使用IC卡内扩展继电器权限（电梯轿箱内梯控）",
    "16.次数余额扣减为0时删除权限",
    "17.支持使用身份证姓名鉴权开门",
    "18.兼容模式（V664后勾选以兼容旧软件）",
    "19.使用本控制板数据处理反潜回(权限中需要反潜回标记)和检查次数(需要21,25选项)",
    "20.使用区域服务器反潜回和检查次数",
    "21.刷卡出时扣减次数",
    "22.重启时关闭5V输出电源",
    "23.启用KELMORHUBS板载语音模块",
    "24.按读卡顺序缓存证件信息",
    "25.刷卡进时扣减次数",
    "26.允许设备自动从计算机拉取权限记录",
    "27.主动上报仅给DTU",
    "28.启用多门互锁",
    "29.作为区域服务器运行",
    "30.禁止日志",
    "31.刷卡成功开门联动开继电器3",
    "32.双卡开门（需要串口设备和韦根设备都鉴权成功才开门）",
    "33.忽略6秒内的重复读卡",
    "34.通道有异物忽略刷卡",
    "35.忽略10秒内的重复身份证",
    "36.身份证设备无响应重置5V输出",
    "37.远程开门提示音",
    "38.使用WEB服务器实时验证",
    "39.滞留人数超限期开继电器4",
    "40.在迪文屏默认界面显示在内人数",
    "41.未成年禁止出入",
    "42.检查身份证有效期",
    "43.迪文屏并接",
    "44.WEB服务器验证请求时连接",
    "45.用WEB/WS服务器处理异步日志/连接检测/信号变化",
    "46.不停发送连接检测",
    "47.读IC卡扇区数据",
    "48.切换开关状态(梯控)",
    "49.启用485口连接读头",
    "50.启用485连管理主机",
    "51.刷485读头根据配置开门",
    "52.485单门双向",
    "53.把区域服务器用作WS服务器",
    "54.使用WS服务器实时验证",
    "55.使用继电器34表示服务器(TCP/WEB/WS)连接状态",
    "56.只从人脸机获取验证号码/不勾则必须取得完整身份证",
    "57.启用Keep-Alive",
    };
    return k;
}

} // namespace quorvane
