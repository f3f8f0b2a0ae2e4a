// Speed of the codecs that run over whole journals and right lists: record decoding into a
// line and into the viewer's field map, building a right-storage image from a long right
// list, and the page filter over every page of that image.
#include <benchmark/benchmark.h>

#include <vector>

#include "records/record_decoder.h"
#include "rights/right_image.h"

namespace {

using namespace quorvane;

std::vector<LogRecord> sampleRecords() {
    std::vector<LogRecord> records;
    for (unsigned i = 0; i < 1024; ++i) {
        LogRecord r;
        r.data0 = i % 3 == 0 ? 87654321 : i;
        r.data1 = 987654321 + i;
        r.packedDate = static_cast<std::uint16_t>((24 << 9) | (((i % 12) + 1) << 5) | (i % 28 + 1));
        r.packedTime = static_cast<std::uint16_t>(((i % 24) << 11) | ((i % 60) << 5) | (i % 30));
        r.doorReader = static_cast<std::uint8_t>(i);
        r.resultCode = static_cast<std::uint8_t>(i % 42);
        r.kindByte = static_cast<std::uint8_t>(((i % 4) << 2) | (i % 4) | (i & 0x80));
        r.subtypeByte = static_cast<std::uint8_t>(((i % 10) << 1) | ((i % 4) << 6));
        records.push_back(r);
    }
    return records;
}

std::string_view benchCommandName(unsigned code) {
    return code == 112 ? "连接变化" : "";
}

void BM_DecodeRecordLine(benchmark::State& state) {
    auto records = sampleRecords();
    RecordDecodeOptions options{false, benchCommandName};
    std::size_t i = 0;
    for (auto _ : state) {
        auto line = decodeRecord(nullptr, records[i++ & 1023], 7, options);
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeRecordLine);

void BM_DecodeRecordFieldMap(benchmark::State& state) {
    auto records = sampleRecords();
    RecordDecodeOptions options{false, benchCommandName};
    RecordFieldMap map;
    std::size_t i = 0;
    for (auto _ : state) {
        auto line = decodeRecord(&map, records[i++ & 1023], 7, options);
        benchmark::DoNotOptimize(line);
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeRecordFieldMap);

struct Images {
    std::vector<std::uint8_t> eeprom = std::vector<std::uint8_t>(kEepromImageSize);
    std::vector<std::uint8_t> flash = std::vector<std::uint8_t>(16 * 1024 * 1024);
};

// 150,000 rights into an empty image (hashed storage on); the rights beyond its capacity are
// refused, as they would be on a controller.
void BM_AppendRight150000(benchmark::State& state) {
    const int rightMode = static_cast<int>(state.range(0));
    Images m;
    for (auto _ : state) {
        state.PauseTiming();
        std::fill(m.eeprom.begin(), m.eeprom.end(), 0);
        std::fill(m.flash.begin(), m.flash.begin() + kFlashRightAreaSize, 0);
        ByteWriter(m.eeprom, kStorageFlagsAddress).putU32le(0xFFFFFFFF);
        RightImage image(m.eeprom, m.flash, rightMode, nullptr, nullptr);
        state.ResumeTiming();
        int placed = 0;
        xRight r;
        for (std::uint32_t card = 1; card <= 150000; ++card) {
            r.cardLow = card * 2654435761u;
            placed += image.appendRight(r, card == 1) == 0;
        }
        state.counters["placed"] = placed;
    }
}
BENCHMARK(BM_AppendRight150000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The page filter over the EEPROM right area (pages 58..511) and the FLASH hash pages
// (0..3,999) of a full image.
void BM_TestRightMaskEveryPage(benchmark::State& state) {
    Images m;
    ByteWriter(m.eeprom, kStorageFlagsAddress).putU32le(0xFFFFFFFF);
    RightImage image(m.eeprom, m.flash, 1, nullptr, nullptr);
    xRight r;
    for (std::uint32_t card = 1; card <= 60000; ++card) {
        r.cardLow = card * 2654435761u;
        image.appendRight(r);
    }
    for (auto _ : state) {
        int used = 0;
        for (std::uint32_t p = 58; p < 512; ++p)
            used += image.testRightMask(true, p * 512, 512);
        for (std::uint32_t p = 0; p < 4000; ++p)
            used += image.testRightMask(false, p * 512, 512);
        benchmark::DoNotOptimize(used);
    }
    state.SetItemsProcessed(state.iterations() * (512 - 58 + 4000));
}
BENCHMARK(BM_TestRightMaskEveryPage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
