#include "records/log_view_memory.h"

#include <algorithm>
#include <cstdio>

#include "infra/tool_log.h"
#include "platform/files.h"

namespace quorvane {

namespace {
const std::uint8_t* slotBytes(const MemoryImages& images, const LogSlot& slot) {
    const auto& image = slot.type == MemoryType::Eeprom ? images.eeprom : images.flash;
    return image.data() + slot.address;
}

std::uint32_t ringPages() {
    return static_cast<std::uint32_t>(kLogRingBytes / kPageBytes);
}
} // namespace

LogSlot viewerSlot(std::uint32_t index, std::uint32_t count) {
    const std::uint32_t inFullBlocks = count / kLogBlockRecords * kLogBlockRecords;
    if (index < inFullBlocks)
        return {MemoryType::Flash, kLogRingAddress + static_cast<std::uint32_t>(
                                                         index % kLogRingRecords * kLogRecordSize)};
    return {MemoryType::Eeprom, kLogBufferAddress + static_cast<std::uint32_t>(
                                                        index % kLogBlockRecords * kLogRecordSize)};
}

long viewerPageCount(std::uint32_t count) {
    return count == 0 ? 1 : static_cast<long>((count - 1) / kViewerPageRecords) + 1;
}

LogRecord recordAtSlot(const MemoryImages& images, const LogSlot& slot) {
    return *LogRecord::decode(Bytes(slotBytes(images, slot), kLogRecordSize));
}

bool recordLoaded(const MemoryImages& images, const LogSlot& slot) {
    const std::uint8_t* b = slotBytes(images, slot);
    return std::any_of(b, b + 8, [](std::uint8_t x) { return x != 0; });
}

std::string recordCacheFile(const std::string& programDir, std::uint16_t targetId) {
    char name[32];
    std::snprintf(name, sizeof name, "data/logView-%05d", targetId);
    return programDir + "/" + name;
}

void clearLogAreas(MemoryImages& images) {
    std::fill_n(images.flash.begin() + kLogRingAddress, kLogRingBytes, 0);
    std::fill_n(images.eeprom.begin() + kLogBufferAddress, kLogBufferBytes, 0);
}

bool loadRecordCache(const std::string& path, MemoryImages& images) {
    auto bytes = platform::readWholeFile(path);
    if (!bytes || bytes->size() != kRecordCacheBytes) {
        clearLogAreas(images);
        return false;
    }
    std::copy_n(bytes->begin(), kLogRingBytes, images.flash.begin() + kLogRingAddress);
    std::copy_n(bytes->begin() + kLogRingBytes, kLogBufferBytes,
                images.eeprom.begin() + kLogBufferAddress);
    return true;
}

bool saveRecordCache(ToolLog* log, const std::string& path, const MemoryImages& images) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kRecordCacheBytes);
    bytes.insert(bytes.end(), images.flash.begin() + kLogRingAddress,
                 images.flash.begin() + kLogRingAddress + kLogRingBytes);
    bytes.insert(bytes.end(), images.eeprom.begin() + kLogBufferAddress,
                 images.eeprom.begin() + kLogBufferAddress + kLogBufferBytes);
    platform::makeDirectories(platform::parentDirectory(path));
    return writeBinaryFile(log, path, bytes);
}

std::vector<PageRef> logDownloadPages(std::uint32_t count) {
    std::vector<PageRef> pages;
    for (std::uint32_t a = kLogBufferAddress; a < kLogBufferAddress + kLogBufferBytes;
         a += kPageBytes)
        pages.push_back({MemoryType::Eeprom, a});
    const std::uint32_t blockPages = kLogBlockRecords * kLogRecordSize / kPageBytes;
    const std::uint32_t flashPages = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(ringPages(), std::uint64_t(count / kLogBlockRecords) * blockPages));
    for (std::uint32_t p = 0; p < flashPages; ++p)
        pages.push_back({MemoryType::Flash, kLogRingAddress + p * kPageBytes});
    return pages;
}

} // namespace quorvane
