// mem read|write, firmware upgrade|read|erase and rights image: whole memories, firmware and
// the right-storage image between a controller and files, as the main window's memory buttons
// and the rights dialog's "全量上传权限数据文件" run them.
#include <optional>
#include <string_view>

#include "commands.h"
#include "device_selection.h"
#include "json_report.h"
#include "operation_exit.h"
#include "rights/right_defaults.h"
#include "session/tool_session.h"
#include "terminal_user_port.h"
#include "transfer/firmware.h"
#include "transfer/memory_buttons.h"
#include "transfer/memory_transfer.h"
#include "transfer/right_image_write.h"

namespace quorvane::cli {

namespace {

std::optional<MemoryType> memoryNamed(std::string_view name) {
    if (name == "eeprom")
        return MemoryType::Eeprom;
    if (name == "flash")
        return MemoryType::Flash;
    if (name == "sound")
        return MemoryType::Sound;
    return std::nullopt;
}

// The file a transfer reads or writes, for the document.
void putFile(CliContext& ctx, const std::string& file) {
    if (ctx.json)
        ctx.json->document()["file"] = file;
}

// The pages a transfer moved, for the document; the result of the operation is the exit code.
int transferred(CliContext& ctx, int result, const TransferResult& transfer) {
    if (ctx.json)
        ctx.json->document()["pages"] = transfer.pages;
    return operationExitCode(result);
}

// The memory word and the file of `mem read|write MEMORY FILE`.
template <class Transfer> int memoryCommand(CliContext& ctx, Transfer transfer) {
    const auto& words = ctx.args.positionals();
    auto type = words.size() == 2 ? memoryNamed(words[0]) : std::nullopt;
    if (!type)
        return kUsage;
    const std::string file = callerPath(ctx, words[1]);
    putFile(ctx, file);
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        MemoryImages images;
        TransferResult result;
        return transferred(ctx, transfer(s, *d, images, *type, file, &result), result);
    });
}

std::optional<LocalRightSource> imageSource(CliContext& ctx) {
    std::optional<LocalRightSource> source;
    int given = 0;
    for (auto [flag, s] : {std::pair{"--ids", LocalRightSource::Ids},
                           std::pair{"--template", LocalRightSource::Template},
                           std::pair{"--whitelist", LocalRightSource::Whitelist},
                           std::pair{"--file", LocalRightSource::UserFile}})
        if (ctx.args.has(flag)) {
            source = s;
            ++given;
        }
    return given == 1 ? source : std::nullopt;
}

} // namespace

int cmdMemRead(CliContext& ctx) {
    return memoryCommand(ctx, readMemoryToFile);
}

int cmdMemWrite(CliContext& ctx) {
    return memoryCommand(ctx, writeMemoryFromFile);
}

int cmdFirmwareUpgrade(CliContext& ctx) {
    if (ctx.args.positionals().size() != 1)
        return kUsage;
    const std::string file = callerPath(ctx, ctx.args.positionals()[0]);
    putFile(ctx, file);
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        MemoryImages images;
        TransferResult result;
        return transferred(
            ctx, upgradeFirmware(s, *d, images, file, ctx.args.has("--broadcast"), &result),
            result);
    });
}

int cmdFirmwareRead(CliContext& ctx) {
    if (ctx.args.positionals().size() != 1)
        return kUsage;
    const std::string file = callerPath(ctx, ctx.args.positionals()[0]);
    putFile(ctx, file);
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        MemoryImages images;
        TransferResult result;
        return transferred(ctx, readFirmware(s, *d, images, file, &result), result);
    });
}

int cmdFirmwareErase(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        int rc = clearProgram(s, *d);
        return rc == 1 ? kAnsweredNo : operationExitCode(rc);
    });
}

int cmdRightsImage(CliContext& ctx) {
    auto source = imageSource(ctx);
    if (!source || !ctx.args.positionals().empty())
        return kUsage;
    if (const std::string* file = ctx.args.value("--file")) {
        putFile(ctx, callerPath(ctx, *file));
        if (auto* terminal = dynamic_cast<TerminalUserPort*>(ctx.port))
            terminal->presetFile(callerPath(ctx, *file));
    }
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        MemoryImages images;
        RightFields fields = readRightDefaults(s.settings(), s.clock());
        TransferResult result;
        return transferred(ctx, uploadRightFileAsImage(s, *d, images, *source, fields, &result),
                           result);
    });
}

} // namespace quorvane::cli
