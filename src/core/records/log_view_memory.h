#pragma once
// Where the log viewer finds a controller's records in its memories, and the local copy of
// them. The controller keeps its full 256-record blocks in a FLASH ring of 651,520 records and
// the block it is filling in an EEPROM buffer; the viewer holds both areas inside the
// program's EEPROM and FLASH images and keeps them between runs in one cache file per device.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/log_record.h"
#include "transfer/memory_images.h"
#include "transfer/page_run.h"

namespace quorvane {

class ToolLog;

inline constexpr std::uint32_t kLogRingAddress = 0x227000;
inline constexpr std::uint32_t kLogRingRecords = 651520;
inline constexpr std::size_t kLogRingBytes = std::size_t(kLogRingRecords) * kLogRecordSize;
inline constexpr std::uint32_t kLogBufferAddress = 0x600;
inline constexpr std::uint32_t kLogBlockRecords = 256;
inline constexpr std::size_t kLogBufferBytes = std::size_t(kLogBlockRecords) * kLogRecordSize;
// The cache file: the FLASH ring, then the EEPROM buffer, no header.
inline constexpr std::size_t kRecordCacheBytes = kLogRingBytes + kLogBufferBytes;
inline constexpr std::uint32_t kViewerPageRecords = 30;

// Where one record lies: the memory and the address of its first byte.
struct LogSlot {
    MemoryType type = MemoryType::Flash;
    std::uint32_t address = 0;
};

// Record index (from 0) of a controller that holds count records. The records of full blocks
// lie in the ring (wrapping), the newest ones of the block being filled in the buffer; the
// index itself, not its place in the ring, tells the two apart, so the newest records of a ring
// that has wrapped still come from the buffer.
LogSlot viewerSlot(std::uint32_t index, std::uint32_t count);

// Pages of 30 records; one page when there are none.
long viewerPageCount(std::uint32_t count);

// The record at a slot of the images (zeros where nothing was loaded).
LogRecord recordAtSlot(const MemoryImages& images, const LogSlot& slot);
// A record whose first eight bytes are zero was not loaded yet.
bool recordLoaded(const MemoryImages& images, const LogSlot& slot);

// "data/logView-%05d" of the device's target id, below the program directory.
std::string recordCacheFile(const std::string& programDir, std::uint16_t targetId);

// Zeros in both log areas of the images; the rest of the images is left as it is.
void clearLogAreas(MemoryImages& images);
// The cache file into the log areas. A missing file, or one of any other size than the two
// areas together, leaves the areas cleared and returns false.
bool loadRecordCache(const std::string& path, MemoryImages& images);
// Both log areas replace the cache file whole (its folder made when missing); a failure is
// logged.
bool saveRecordCache(ToolLog* log, const std::string& path, const MemoryImages& images);

// "下载到本地": the whole EEPROM buffer, then the ring pages that hold full blocks (all of
// them once the ring has wrapped).
std::vector<PageRef> logDownloadPages(std::uint32_t count);

} // namespace quorvane
