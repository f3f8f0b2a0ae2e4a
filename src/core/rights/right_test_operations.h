#pragma once
// The rights dialog's test buttons: "填充1"/"填充10" add, "验证1"/"验证10" check, one made-up
// 18-digit card per run, 4 s apart, with reply notices off across several runs.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/device_info.h"
#include "rights/right_fields.h"

namespace quorvane {

class ToolSession;

// Pseudo-random numbers; each card takes three of them, each reduced mod 1,000,000.
using RandomSource = std::function<std::uint32_t()>;

// "%06u%06u%06u;" of three numbers from random: the card one run puts into the number field.
std::string testCard(const RandomSource& random);

inline constexpr auto kTestRunPause = std::chrono::seconds(4);

struct TestRunResult {
    int rc = 0;           // 0 when every run went through, else -1
    int runs = 0;         // runs made (fewer after a cancel)
    std::string lastCard; // the number field after the last run
};

// runs adds (Fill 1: 1, Fill 10: 10) of a fresh card each, with the other fields as given.
TestRunResult fillRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         RightFields fields, int runs, const RandomSource& random);
// The same with checks (Verify 1, Verify 10).
TestRunResult verifyRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                           RightFields fields, int runs, const RandomSource& random);

} // namespace quorvane
