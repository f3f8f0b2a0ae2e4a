#pragma once
// The values of the rights dialog, as every rights operation takes them: the numbers to work
// on and the fields an added right is made of. The dialog fills one; the command line fills
// one from its options; readRightDefaults gives the dialog's initial values.
#include <string>

namespace quorvane {

// A date and time as the dialog's pickers hold them (local calendar time).
struct RightDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const RightDateTime&) const = default;
};

struct RightFields {
    // "要操作的号码": cards separated by ';', blanks, line ends or tabs (UTF-8).
    std::string numbers;
    // "人员名称": the holder's name, kept in right-mode 1 (cut to 8 GBK bytes).
    std::string name;
    // "刷卡次数": remaining uses, 0..65535.
    unsigned times = 65535;
    // "可用读头": the reader mask of an added right (bits 0..3 COM-1..4, bits 4..7 Wiegand
    // 1..4), and the reader number (1..8) of a check or a simulated swipe.
    unsigned readers = 255;
    // "可用时段": time-zone mask (bit 0 opening forbidden, bits 1..7 zones 2..8); 0 = any time.
    unsigned timeZones = 0;
    RightDateTime validFrom{2000, 1, 1, 0, 0, 0};
    RightDateTime validTo{2030, 1, 1, 23, 59, 59};
    bool antiPassback = false; // "对此用户启用反潜回"
    bool parcel = false;       // "有包裹"
    bool arrears = false;      // "欠费"
    bool userFlag1 = false;    // "自定义标志1"
    bool userFlag2 = false;
    bool userFlag3 = false;
    // "类型": index in the list of `man-types`; a negative index (nothing chosen) counts as 0.
    int typeIndex = 0;
    // "人员分组": "分组1" … "分组6", "管理组"; kept as a default, not part of the right.
    int groupIndex = 0;
    // "预留": 16 bits carried in the right's flags.
    unsigned reserved = 0;
    // "开始索引" and "数量" of a read by position.
    long startPosition = 1;
    long count = 1;
    // "向后搜索直到发现有效权限".
    bool searchForward = true;
    // "启动身份证阅读器读取号码".
    bool localReader = false;
};

} // namespace quorvane
