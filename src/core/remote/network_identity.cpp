#include "remote/network_identity.h"

#include <cstdio>

#include "infra/codepage.h"

namespace quorvane {

namespace {
template <std::size_t N> std::string textOf(const std::array<std::uint8_t, N>& field) {
    return fromGbk(fieldText(Bytes(field)));
}

template <std::size_t N> void store(std::array<std::uint8_t, N>& field, const std::string& utf8) {
    field.fill(0);
    ByteWriter(field).putPadded(gbkCut(utf8, N), N);
}
} // namespace

std::optional<std::string> newMacAddress(const Settings& settings, UserPort& port,
                                         bool recordSelected,
                                         const std::function<std::uint8_t()>& randomByte) {
    if (!recordSelected) {
        port.showMessage("请选择要操作的记录！");
        return std::nullopt;
    }
    if (settings.readInt("common", "sn-is-mac", 1) != 0 &&
        !port.askYesNo("分配新的MAC地址会重新生成设备名称/标志，确定要继续吗？如果希望保证设备标志"
                       "不改变，请将设备标志转换为16进制后填充到MAC地址低两位。"))
        return std::nullopt;
    const unsigned a = randomByte(), b = randomByte(), c = randomByte();
    char mac[24];
    std::snprintf(mac, sizeof mac, "08.00.09.%02x.%02x.%02x", a, b, c);
    return std::string(mac);
}

PppoeAccount pppoeAccountOf(const DeviceUIInfo& record) {
    return {textOf(record.pppoeAccount), textOf(record.pppoePassword)};
}

void storePppoeAccount(DeviceUIInfo& record, const PppoeAccount& typed) {
    store(record.pppoeAccount, typed.account);
    store(record.pppoePassword, typed.password);
}

} // namespace quorvane
