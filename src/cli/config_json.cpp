#include "config_json.h"

#include "model/basic_block.h"
#include "model/config_table.h"

namespace quorvane::cli {

namespace {

// The operator and dial-up passwords stay off standard output; raw bytes and checksums say
// nothing a field of their own does not; the option bits come as one list.
bool shown(const ConfigField& f) {
    return !f.key.ends_with("Password") && f.kind != FieldKind::Raw && f.kind != FieldKind::Sum8 &&
           f.key != "optionsLow" && f.key != "optionsHigh" && f.block != ConfigBlock::DeviceSetting;
}

nlohmann::ordered_json elements(const ConfigField& f, Bytes block) {
    if (elementCount(f) == 1)
        return readText(f, block, 0);
    auto list = nlohmann::ordered_json::array();
    for (int i = 0; i < elementCount(f); ++i)
        list.push_back(readText(f, block, i));
    return list;
}

void putDoorFields(nlohmann::ordered_json& object, Bytes door) {
    for (const ConfigField& f : configFields()) {
        if (!shown(f))
            continue;
        if (f.block == ConfigBlock::Door) {
            object[std::string(f.key)] = elements(f, door);
        } else if (f.block == ConfigBlock::ReaderSetting) {
            auto readers = nlohmann::ordered_json::array();
            for (int r = 0; r < kReaderCount; ++r)
                readers.push_back(elements(f, readerSetting(door, r)));
            object[std::string(f.key)] = std::move(readers);
        }
    }
    auto options = nlohmann::ordered_json::array();
    for (int n = 1; n <= kOptionCount; ++n)
        if (optionSet(door, n))
            options.push_back(n);
    object["options"] = std::move(options);
}

} // namespace

nlohmann::ordered_json doorBlockJson(Bytes doorBlock) {
    auto object = nlohmann::ordered_json::object();
    putDoorFields(object, doorBlock);
    return object;
}

nlohmann::ordered_json deviceJson(const DeviceUIInfo& record) {
    auto object = nlohmann::ordered_json::object();
    object["globalId"] = record.getGlobalId();
    for (const ConfigField& f : configFields())
        if (shown(f) && (f.block == ConfigBlock::Basic || f.block == ConfigBlock::Extended))
            object[std::string(f.key)] = recordFieldText(record, f);
    putDoorFields(object, record.doorConfig);
    return object;
}

} // namespace quorvane::cli
