// Speed of the configuration block's codec, which runs once per search reply of every
// controller: decoding a device-information reply into a record, encoding a record's
// basic/extended block, and the device detail text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/config_text.h"
#include "model/device_info.h"

namespace {

using namespace quorvane;

DeviceUIInfo sampleRecord() {
    DeviceUIInfo d;
    d.name = "门禁控制器";
    d.mac = "00.11.22.33.01.02";
    d.ip = "192.168.1.20";
    d.mask = "255.255.255.0";
    d.gateway = "192.168.1.1";
    d.hostAddress = "192.168.1.100";
    d.serverAddress = "10.0.0.9";
    d.devicePort = 65534;
    d.hostPort = 50000;
    d.serverPort = 9000;
    d.firmwareVersion = "V6.64";
    d.blockVersion = 1;
    d.extMarker = kExtendedMarker;
    for (std::size_t i = 0; i < d.doorConfig.size(); ++i)
        d.doorConfig[i] = static_cast<std::uint8_t>(i * 7);
    return d;
}

// An extended device-information reply: header, 192 + 424 payload bytes, frame sum.
std::vector<std::uint8_t> sampleReply(const DeviceUIInfo& d) {
    std::vector<std::uint8_t> f(32, 0xAA);
    for (int i = 16; i < 24; ++i)
        f[i] = 0xFF;
    f[28] = 3;
    f[29] = 1;
    f[30] = 616 >> 8;
    f[31] = 616 & 0xFF;
    auto block = encodeBasicBlock(d);
    f.insert(f.end(), block.begin(), block.end());
    f.insert(f.end(), d.doorConfig.begin(), d.doorConfig.end());
    f.push_back(sum8(Bytes(f).subspan(28)));
    return f;
}

void BM_DecodeDeviceInfoReply(benchmark::State& state) {
    auto frame = sampleReply(sampleRecord());
    for (auto _ : state) {
        DeviceUIInfo r;
        bool extended = false;
        benchmark::DoNotOptimize(getUIInfoFromMsg(frame, extended, r));
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeDeviceInfoReply);

void BM_EncodeBasicBlock(benchmark::State& state) {
    auto record = sampleRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeBasicBlock(record));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeBasicBlock);

void BM_DevDetailText(benchmark::State& state) {
    auto record = sampleRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize(devDetailText(record, "服务正在运行"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DevDetailText);

} // namespace

BENCHMARK_MAIN();
