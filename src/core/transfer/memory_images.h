#pragma once
// The program's copies of a controller's memories: EEPROM, FLASH and sound images that page
// reads fill and page writes send, and the firmware read image. A page reply is stored only
// inside the image it names; one that would reach past that image's end, or names no image,
// is refused so that nothing outside the images is ever written.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bytes.h"

namespace quorvane {

// Memory type codes of the page commands.
enum class MemoryType : std::uint32_t { Firmware = 0, Eeprom = 1, Flash = 2, Sound = 3 };

inline constexpr std::uint32_t kPageBytes = 512;
inline constexpr std::size_t kEepromBytes = 262144;
inline constexpr std::size_t kFlashBytes = 16777216;
inline constexpr std::size_t kSoundBytes = 16777216;
inline constexpr std::size_t kFirmwareReadBytes = 131072;
inline constexpr std::uint32_t kFirmwareBase = 0x08040000;
inline constexpr long kEepromPages = long(kEepromBytes / kPageBytes);
inline constexpr long kFlashPages = long(kFlashBytes / kPageBytes);

struct MemoryImages {
    MemoryImages();
    std::vector<std::uint8_t> eeprom;
    std::vector<std::uint8_t> flash;
    std::vector<std::uint8_t> sound;
    // Filled with 0xCC before a firmware read; page addresses count from firmwareBase.
    std::vector<std::uint8_t> firmware;
    std::uint32_t firmwareBase = kFirmwareBase;

    std::vector<std::uint8_t>& image(MemoryType type);
};

// Reply 33: the page's address and memory type, then its data.
struct PageReply {
    std::uint32_t address = 0;
    std::uint32_t type = 0;
    Bytes data;
};

// Nothing when the payload is too short for the address and the type.
std::optional<PageReply> readPageReply(Bytes payload);

// Where the reply's data lies in its image (an offset), or the reason it is refused.
struct PagePlace {
    std::size_t offset = 0;
    std::string refusal; // empty when the data fits
};
PagePlace placeOfPage(const MemoryImages& images, const PageReply& page);

// Copies the data into its image; false (nothing written) when placeOfPage refuses it.
bool storePage(MemoryImages& images, const PageReply& page);

} // namespace quorvane
