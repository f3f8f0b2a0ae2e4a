#pragma once
// The rights dialog's fields as options of the rights commands: the settings' defaults, as
// the dialog opens with them, changed by the options given.
#include <optional>

#include "cli_context.h"
#include "rights/right_fields.h"

namespace quorvane {
class Clock;
}

namespace quorvane::cli {

// The fields from the settings and --name, --valid-from, --valid-to ("Y-M-D h:m:s"), --zones,
// --readers, --times, --type, --reserved, --antiback, --parcel, --debt, --flag1..3; the
// numbers are the positional words. Nothing after printing why an option was refused.
std::optional<RightFields> rightFieldsOf(CliContext& ctx, const Clock& clock);

// Adds the numbers of --from-file (a card-number file, GBK); false after "打开文件失败！".
bool addCardFile(CliContext& ctx, RightFields& fields);

} // namespace quorvane::cli
