#include "transfer/memory_images.h"

#include <algorithm>

namespace quorvane {

MemoryImages::MemoryImages()
    : eeprom(kEepromBytes), flash(kFlashBytes), sound(kSoundBytes), firmware(kFirmwareReadBytes) {}

std::vector<std::uint8_t>& MemoryImages::image(MemoryType type) {
    switch (type) {
    case MemoryType::Eeprom:
        return eeprom;
    case MemoryType::Flash:
        return flash;
    case MemoryType::Sound:
        return sound;
    case MemoryType::Firmware:
        break;
    }
    return firmware;
}

std::optional<PageReply> readPageReply(Bytes payload) {
    ByteReader r(payload);
    PageReply page;
    page.address = r.u32le();
    page.type = r.u32le();
    if (!r.ok())
        return std::nullopt;
    page.data = payload.subspan(8);
    return page;
}

PagePlace placeOfPage(const MemoryImages& images, const PageReply& page) {
    PagePlace place;
    std::size_t size = 0;
    std::uint64_t offset = page.address;
    switch (page.type) {
    case std::uint32_t(MemoryType::Eeprom):
        size = images.eeprom.size();
        break;
    case std::uint32_t(MemoryType::Flash):
        size = images.flash.size();
        break;
    case std::uint32_t(MemoryType::Sound):
        size = images.sound.size();
        break;
    case std::uint32_t(MemoryType::Firmware):
        size = images.firmware.size();
        if (page.address < images.firmwareBase) {
            place.refusal = "firmware page below the base";
            return place;
        }
        offset -= images.firmwareBase;
        break;
    default:
        place.refusal = "unknown memory type " + std::to_string(page.type);
        return place;
    }
    if (offset > size || page.data.size() > size - offset) {
        place.refusal = "page past the image end, address=" + std::to_string(page.address) +
                        ", length=" + std::to_string(page.data.size());
        return place;
    }
    place.offset = static_cast<std::size_t>(offset);
    return place;
}

bool storePage(MemoryImages& images, const PageReply& page) {
    PagePlace place = placeOfPage(images, page);
    if (!place.refusal.empty())
        return false;
    auto& image = images.image(static_cast<MemoryType>(page.type));
    std::copy(page.data.begin(), page.data.end(),
              image.begin() + static_cast<std::ptrdiff_t>(place.offset));
    return true;
}

} // namespace quorvane
