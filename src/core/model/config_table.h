#pragma once
// The configuration block described once: every field of the basic block, its extended part,
// the door-access block and the two 28-byte settings inside it. Decoding and encoding of the
// record, the detail text, the CLI and the dialogs all walk this table; nothing else spells out
// an offset of these blocks.
#include <cstddef>
#include <span>
#include <string_view>

#include "model/config_field.h"

namespace quorvane {

// Every entry, layout by layout in offset order.
std::span<const ConfigField> configFields();
// The entry with this key; nullptr when no entry has it.
const ConfigField* findConfigField(std::string_view key);
// The entry with a key written in the code; throws std::out_of_range when no entry has it.
const ConfigField& configField(std::string_view key);
// Bytes of the span a layout's fields are read from: 116 for the basic block, 192 for the
// extended form, 424 for the door-access block, 28 for either setting.
std::size_t layoutSize(ConfigBlock block);

// Readers 0..3 are the settings of serial ports 1..4 (D32 + 36i + 8), readers 4..7 the Wiegand
// readers 5..8 (D176 + 28i). The reader setting's fields (ConfigBlock::ReaderSetting) and a
// display device's fields (ConfigBlock::DeviceSetting) are read from this span.
inline constexpr int kReaderCount = 8;
Bytes readerSetting(Bytes doorBlock, int reader);
MutableBytes readerSetting(MutableBytes doorBlock, int reader);

// One element of a group: the entry and the index within its group.
struct FieldRef {
    const ConfigField* field = nullptr;
    int index = 0;
};

// Options 1..64 of the door-access block: options 1..32 are bits 0..31 of `optionsLow`,
// 33..64 bits 0..31 of `optionsHigh`. A null field for a number outside 1..64.
inline constexpr int kOptionCount = 64;
FieldRef optionEntry(int option);
bool optionSet(Bytes doorBlock, int option);
// False for an option outside 1..64.
bool setOption(MutableBytes doorBlock, int option, bool on);

} // namespace quorvane
