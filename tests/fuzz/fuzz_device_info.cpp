// Device-information replies of any shape through the record decoder and back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/config_text.h"
#include "model/device_info.h"
#include "model/record_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> frame(data, data + size);
    quorvane::DeviceUIInfo record;
    bool extended = false;
    if (quorvane::getUIInfoFromMsg(frame, extended, record) == 0) {
        (void)quorvane::encodeBasicBlock(record);
        (void)record.getGlobalId();
        (void)record.getHardwareInfo();
        (void)record.getTargetId();
        (void)quorvane::devDetailText(record, "");
    }
    // The same bytes as a stored record file.
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)quorvane::decodeRecordFile(bytes).getUniqueName();
    // The same bytes as a door-access block of any length, as door-config --show prints it.
    (void)quorvane::doorBlockText(frame);
    return 0;
}
