#include "transfer/scan_prompts.h"

#include "config/config_save.h"
#include "infra/settings.h"
#include "protocol/admin_channel.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr std::string_view kSection = "scan-sound";
constexpr std::size_t kDescriptionBuffer = 1024;
} // namespace

std::vector<std::string> scanPromptOptions(const Settings& settings) {
    return settings.readList(kSection, "options");
}

ScanPrompts readScanPrompts(const Settings& settings, const DeviceUIInfo& record) {
    ScanPrompts p;
    std::copy(record.reserved2.begin(), record.reserved2.end(), p.conditions.begin());
    for (int slot = 0; slot < kScanPromptSlots; ++slot)
        p.descriptions[static_cast<std::size_t>(slot)] =
            settings.readString(kSection, std::to_string(slot + 1), {}, kDescriptionBuffer);
    return p;
}

int saveScanPrompts(ToolSession& session, const DeviceUIInfo& record, const ScanPrompts& prompts) {
    for (int slot = 0; slot < kScanPromptSlots; ++slot)
        session.settings().writeString(kSection, std::to_string(slot + 1),
                                       prompts.descriptions[static_cast<std::size_t>(slot)]);
    DeviceUIInfo changed = record;
    std::copy(prompts.conditions.begin(), prompts.conditions.end(), changed.reserved2.begin());
    return SaveConfigImpl(session, changed, basicFieldsOf(changed), SaveMode::ToDevice,
                          session.channel().searchTarget());
}

} // namespace quorvane
