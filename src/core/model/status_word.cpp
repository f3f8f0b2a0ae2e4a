#include "model/status_word.h"

namespace quorvane {

std::string_view yesNoText(bool set) { return set ? "是" : "否"; }

std::string statusWordText(std::uint32_t word, bool multiLine) {
    const std::string_view a = multiLine ? "\n" : ";";
    const std::string_view b = multiLine ? "\n " : ";";
    const std::string_view c = multiLine ? "\n" : ";";
    std::string out;
    auto yn = [&](int bit) { out += yesNoText((word >> bit) & 1); };
    // Bits first..last joined by commas; trailing adds one more comma before the separator.
    auto group = [&](std::string_view label, int first, int last, bool trailing) {
        out += label;
        for (int bit = first; bit <= last; ++bit) {
            yn(bit);
            if (bit < last || trailing) out += ',';
        }
        out += c;
    };
    out += "TCP/WEB网络连通:";
    yn(24);
    out += ";WEBSOCK连通:";
    yn(26);
    out += a;
    out += "系统有故障:";
    yn(27);
    out += b;
    group("串口设备在线:", 16, 19, true);
    group("韦根设备在线:", 20, 23, true);
    group("门已打开:", 4, 7, true);
    group("门未关报警:", 0, 3, false);
    group("信号状态:", 8, 15, false);
    group("声音设备开:", 25, 25, false);
    return out;
}

} // namespace quorvane
