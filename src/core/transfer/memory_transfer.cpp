#include "transfer/memory_transfer.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "platform/files.h"
#include "session/tool_session.h"
#include "transfer/firmware.h"

namespace quorvane {

namespace {
constexpr std::uint32_t kAllStorageFlags = 0xFFFFFFFFu;
constexpr std::uint32_t kStorageFlagsAt = 920;
constexpr std::size_t kRandomFileBytes = 16777216;

std::string view(Bytes b) {
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

PageProgress progressText(const char* format) {
    return [format](long page, long end) {
        char text[96];
        std::snprintf(text, sizeof text, format, page, end);
        return std::string(text);
    };
}

// A random file that later tests of the memory use; made once.
void makeRandomFile(ToolSession& session, const std::string& name) {
    std::string path = dataPath(session, name);
    if (platform::fileExists(path))
        return;
    std::minstd_rand random(
        static_cast<unsigned>(session.clock().wallNow().time_since_epoch().count()));
    std::string bytes(kRandomFileBytes, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    saveBytes(session, path, asBytes(bytes));
}

struct Memory {
    MemoryType type;
    long pages;
    const char* readText;
    const char* writeText;
    const char* readFile;
    const char* writeFile;
    const char* randomFile;
    const char* readName; // the summary's name of a read, and of a write
    const char* writeName;
};
constexpr Memory kEeprom{MemoryType::Eeprom,
                         kEepromPages,
                         "正在下载EEPROM(%ld/%ld)...",
                         "正在上传EEPROM(第%ld页/共%ld页)...",
                         "data/download_eeprom.bin",
                         "data/upload_eeprom.bin",
                         "data/eeprom_random.bin",
                         "下载EEPROM",
                         "上传EEPROM"};
constexpr Memory kFlash{MemoryType::Flash,
                        kFlashPages,
                        "正在下载FLASH(%ld/%ld)...",
                        "正在上传FLASH(第%ld页/共%ld页)...",
                        "data/download_flash.bin",
                        "data/upload_flash.bin",
                        "data/flash_random.bin",
                        "下载FLASH",
                        "上传FLASH"};

TransferResult download(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                        const Memory& memory, long first, long end, const std::string& fileName) {
    TransferResult result;
    auto target = pageTarget(session, device);
    if (!target)
        return result;
    WinDisabler busy(session.port());
    PageRun run{memory.type, first, end > 0 ? end : memory.pages,
                0,           {},    progressText(memory.readText)};
    PageRunResult pages = readPages(session, *target, images, run);
    result.pages = pages.pages;
    result.rc = pages.rc;
    reportRun(session, pages, memory.readName);
    // A cancelled or refused read leaves the last whole file in place.
    if (pages.rc != 0)
        return result;
    auto& image = images.image(memory.type);
    if (memory.type == MemoryType::Eeprom) {
        // The controller's own identity and network settings stay out of a copy.
        std::fill(image.begin() + 6, image.begin() + 64, 0);
        std::fill(image.begin() + 936, image.begin() + 1536, 0);
    }
    result.file = fileName.empty() ? dataPath(session, memory.readFile) : fileName;
    if (!saveBytes(session, result.file, image))
        result.rc = -1;
    makeRandomFile(session, memory.randomFile);
    return result;
}

TransferResult upload(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                      const Memory& memory, long first, long end, const std::string& fileName,
                      const PageFilter& filter) {
    TransferResult result;
    auto& image = images.image(memory.type);
    if (!fileName.empty()) {
        auto bytes = platform::readWholeFile(fileName);
        if (!bytes) {
            session.port().showMessage("打开文件失败！");
            return result;
        }
        std::copy_n(bytes->begin(), std::min(bytes->size(), image.size()), image.begin());
    } else {
        saveBytes(session, dataPath(session, memory.writeFile), image);
    }
    auto target = pageTarget(session, device);
    if (!target)
        return result;
    WinDisabler busy(session.port());
    PageRun run{memory.type, first,  end > 0 ? end : memory.pages,
                0,           filter, progressText(memory.writeText)};
    PageRunResult pages = writePages(session, *target, image, run);
    reportRun(session, pages, memory.writeName);
    result.pages = pages.pages;
    result.rc = pages.rc;
    return result;
}
} // namespace

std::string dataPath(ToolSession& session, const std::string& name) {
    return session.settings().resolve(name);
}

bool saveBytes(ToolSession& session, const std::string& path, Bytes bytes) {
    platform::makeDirectories(platform::parentDirectory(path));
    if (platform::replaceFile(path, view(bytes)))
        return true;
    session.port().showMessage("保存文件失败！");
    return false;
}

TransferResult download_EEPROM(ToolSession& session, const DeviceUIInfo& device,
                               MemoryImages& images, long first, long end,
                               const std::string& fileName) {
    return download(session, device, images, kEeprom, first, end, fileName);
}

TransferResult download_FLASH(ToolSession& session, const DeviceUIInfo& device,
                              MemoryImages& images, long first, long end,
                              const std::string& fileName) {
    return download(session, device, images, kFlash, first, end, fileName);
}

TransferResult download_SOUND(ToolSession& session, const DeviceUIInfo& device,
                              MemoryImages& images, const std::string& fileName) {
    TransferResult result;
    auto target = pageTarget(session, device);
    if (!target)
        return result;
    const long maxSize = session.settings().readInt("sound", "sound-file-max-size", 1048576);
    const long pages = std::clamp((maxSize + long(kPageBytes) - 1) / long(kPageBytes), 0L,
                                  long(kSoundBytes / kPageBytes));
    WinDisabler busy(session.port());
    PageRun run{MemoryType::Sound, 0, pages, 0, {}, progressText("正在下载声音文件(%ld/%ld)...")};
    PageRunResult read = readPages(session, *target, images, run);
    reportRun(session, read, "下载声音文件");
    result.pages = read.pages;
    result.rc = read.rc;
    if (read.rc == 0 && !fileName.empty()) {
        result.file = fileName;
        if (!saveBytes(session, fileName, images.sound))
            result.rc = -1;
    }
    return result;
}

TransferResult upload_EEPROM(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                             long first, long end, const std::string& fileName,
                             const PageFilter& filter) {
    return upload(session, device, images, kEeprom, first, end, fileName, filter);
}

TransferResult upload_FLASH(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                            long first, long end, const std::string& fileName,
                            const PageFilter& filter) {
    return upload(session, device, images, kFlash, first, end, fileName, filter);
}

TransferResult upload_SOUND(ToolSession& session, const DeviceUIInfo& device,
                            const std::string& fileName) {
    TransferResult result;
    if (fileName.empty())
        return result;
    auto bytes = platform::readWholeFile(fileName);
    if (!bytes) {
        session.port().showMessage("打开文件失败！");
        return result;
    }
    auto target = pageTarget(session, device);
    if (!target)
        return result;
    const long pages = static_cast<long>((bytes->size() + kPageBytes - 1) / kPageBytes);
    // The sound store's erased state: a last short page ends in 0xFF.
    std::string padded(static_cast<std::size_t>(pages) * kPageBytes, '\xFF');
    std::copy(bytes->begin(), bytes->end(), padded.begin());
    WinDisabler busy(session.port());
    PageRun run{
        MemoryType::Sound, 0, pages, 0, {}, progressText("正在上传语音文件(第%ld页/共%ld页)...")};
    PageRunResult sent = writePages(session, *target, asBytes(padded), run);
    reportRun(session, sent, "上传语音文件");
    result.pages = sent.pages;
    result.rc = sent.rc;
    return result;
}

TransferResult batchUpDown(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                           const TransferSettings& s) {
    WinDisabler busy(session.port());
    session.port().progress("");
    const bool read = s.direction == Direction::Read;
    TransferResult result;
    result.rc = 0;
    if (s.mask == kMaskFirmware)
        return read ? download_FIRMWARE(session, device, images, kFirmwareBase, kFirmwareReadBytes,
                                        s.fileName)
                    : upload_FIRMWARE(session, device, kFirmwareBase, s.fileName, s.broadcast);
    const auto step = [&result](TransferResult r) {
        result.pages += r.pages;
        if (!r.file.empty())
            result.file = r.file;
        if (r.rc != 0)
            result.rc = r.rc;
        return r.rc == 0;
    };
    if (s.mask & kMaskEeprom)
        if (!step(
                read ? download_EEPROM(session, device, images, s.firstPage, s.lastPage, s.fileName)
                     : upload_EEPROM(session, device, images, s.firstPage, s.lastPage, s.fileName,
                                     s.filter)))
            return result;
    if (s.mask & kMaskFlash)
        if (!step(read
                      ? download_FLASH(session, device, images, s.firstPage, s.lastPage, s.fileName)
                      : upload_FLASH(session, device, images, s.firstPage, s.lastPage, s.fileName,
                                     s.filter)))
            return result;
    if (s.mask & kMaskSound)
        step(read ? download_SOUND(session, device, images, s.fileName)
                  : upload_SOUND(session, device, s.fileName));
    return result;
}

void clearEepromImage(MemoryImages& images) {
    std::fill(images.eeprom.begin(), images.eeprom.end(), 0);
    ByteWriter(images.eeprom, kStorageFlagsAt).putU32le(kAllStorageFlags);
}

void clearFlashImage(MemoryImages& images) {
    std::fill(images.flash.begin(), images.flash.end(), 0);
}

int loadImage(ToolSession& session, MemoryImages& images, MemoryType type,
              const std::string& fileName) {
    if (fileName.empty()) {
        session.port().showMessage("文件名不能为空！");
        return -1;
    }
    auto bytes = platform::readWholeFile(fileName);
    if (!bytes) {
        session.port().showMessage("打开文件失败！");
        return -1;
    }
    auto& image = images.image(type);
    std::copy_n(bytes->begin(), std::min(bytes->size(), image.size()), image.begin());
    return 0;
}

int backupImage(ToolSession& session, MemoryImages& images, MemoryType type) {
    const char* name =
        type == MemoryType::Eeprom ? "data/backup_eeprom.bin" : "data/backup_flash.bin";
    return saveBytes(session, dataPath(session, name), images.image(type)) ? 0 : -1;
}

} // namespace quorvane
