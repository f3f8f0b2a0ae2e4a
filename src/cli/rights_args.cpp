#include "rights_args.h"

#include <cstdio>
#include <ostream>

#include "infra/codepage.h"
#include "platform/files.h"
#include "rights/right_defaults.h"

namespace quorvane::cli {

namespace {

// "Y-M-D h:m:s"; the time may be left out (midnight). True when absent or valid.
bool dateTimeOption(CliContext& ctx, std::string_view name, RightDateTime& out) {
    const std::string* text = ctx.args.value(name);
    if (!text)
        return true;
    RightDateTime t{};
    char tail = 0;
    int n = std::sscanf(text->c_str(), "%d-%d-%d %d:%d:%d%c", &t.year, &t.month, &t.day, &t.hour,
                        &t.minute, &t.second, &tail);
    bool ok = (n == 3 || n == 6) && t.year >= 2000 && t.year <= 2127 && t.month >= 1 &&
              t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 && t.hour <= 23 &&
              t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
    if (!ok) {
        *ctx.err << "option " << name << " takes \"Y-M-D h:m:s\" (2000..2127), not " << *text
                 << "\n";
        return false;
    }
    out = t;
    return true;
}

bool unsignedOption(CliContext& ctx, std::string_view name, long hi, unsigned& out) {
    long v = static_cast<long>(out);
    if (!numberOption(ctx, name, 0, hi, v))
        return false;
    out = static_cast<unsigned>(v);
    return true;
}

} // namespace

std::optional<RightFields> rightFieldsOf(CliContext& ctx, const Clock& clock) {
    RightFields f = readRightDefaults(*ctx.settings, clock);
    f.name = ctx.args.value("--name") ? *ctx.args.value("--name") : std::string();
    long type = f.typeIndex;
    if (!unsignedOption(ctx, "--zones", 255, f.timeZones) ||
        !unsignedOption(ctx, "--readers", 255, f.readers) ||
        !unsignedOption(ctx, "--times", 65535, f.times) ||
        !unsignedOption(ctx, "--reserved", 65535, f.reserved) ||
        !numberOption(ctx, "--type", 0, 15, type) ||
        !dateTimeOption(ctx, "--valid-from", f.validFrom) ||
        !dateTimeOption(ctx, "--valid-to", f.validTo))
        return std::nullopt;
    f.typeIndex = static_cast<int>(type);
    auto flag = [&ctx](const char* name, bool& field) {
        if (ctx.args.has(name))
            field = true;
    };
    flag("--antiback", f.antiPassback);
    flag("--parcel", f.parcel);
    flag("--debt", f.arrears);
    flag("--flag1", f.userFlag1);
    flag("--flag2", f.userFlag2);
    flag("--flag3", f.userFlag3);

    for (const auto& card : ctx.args.positionals())
        f.numbers += card + ";";
    return f;
}

bool addCardFile(CliContext& ctx, RightFields& fields) {
    const std::string* file = ctx.args.value("--from-file");
    if (!file)
        return true;
    auto bytes = platform::readWholeFile(callerPath(ctx, *file));
    if (!bytes) {
        ctx.port->showMessage("打开文件失败！");
        return false;
    }
    fields.numbers += fromGbk(*bytes);
    return true;
}

} // namespace quorvane::cli
