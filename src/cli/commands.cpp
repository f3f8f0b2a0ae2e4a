#include "commands.h"
#include "cli_context.h"
#include "device_selection.h"

namespace quorvane::cli {

namespace {
using A = Arity;
constexpr DeclaredOption kCodecOptions[] = {{"--seq", A::Value}, {"--three-byte", A::Flag}};
constexpr DeclaredOption kStatusOptions[] = {{"--multi-line", A::Flag}};
constexpr DeclaredOption kConvertOptions[] = {{"--force", A::Flag}, {"--reverse", A::Flag}};
constexpr DeclaredOption kOpenOptions[] = {kDeviceOptions[0],
                                           kDeviceOptions[1],
                                           {"--door", A::Value},
                                           {"--ms", A::Value},
                                           {"--state", A::Value}};
constexpr DeclaredOption kOpenAllOptions[] = {
    kDeviceOptions[0], kDeviceOptions[1], {"--door", A::Value}, {"--ms", A::Value}};
constexpr DeclaredOption kSelfTestOptions[] = {
    kDeviceOptions[0], kDeviceOptions[1], {"--flags", A::Value}};
constexpr DeclaredOption kSet485Options[] = {
    {"--com", A::Value}, {"--serial", A::Value}, {"--flag", A::Value}};
constexpr DeclaredOption kTextOptions[] = {{"--device", A::Repeated, "-d"},
                                           {"--cmd", A::Value},
                                           {"--broadcast", A::Flag},
                                           {"--json", A::Flag}};
// The one-controller commands that report a result as data with --json.
constexpr DeclaredOption kDeviceJsonOptions[] = {
    kDeviceOptions[0], kDeviceOptions[1], {"--json", A::Flag}};
constexpr DeclaredOption kLogFetchOptions[] = {kDeviceOptions[0],
                                               kDeviceOptions[1],
                                               {"--start", A::Value},
                                               {"--count", A::Value},
                                               {"--json", A::Flag}};
constexpr DeclaredOption kLogViewOptions[] = {kDeviceOptions[0],       kDeviceOptions[1],
                                              {"--page", A::Value},    {"--last", A::Flag},
                                              {"--download", A::Flag}, {"--card-only", A::Flag}};
constexpr DeclaredOption kSearchOptions[] = {
    {"--mcast", A::Flag},  {"--pipe", A::Flag},  {"--to", A::Value},  {"--port", A::Value},
    {"--iface", A::Value}, {"--wait", A::Value}, {"--json", A::Flag},
};
constexpr DeclaredOption kDetailOptions[] = {
    {"--device", A::Value, "-d"}, {"--record", A::Value}, {"--file", A::Flag}, {"--json", A::Flag}};
constexpr DeclaredOption kSaveOptions[] = {
    {"--device", A::Value, "-d"}, {"--record", A::Value},      {"--name", A::Value},
    {"--mac", A::Value},          {"--ip", A::Value},          {"--mask", A::Value},
    {"--gateway", A::Value},      {"--host-ip", A::Value},     {"--host-port", A::Value},
    {"--server-ip", A::Value},    {"--server-port", A::Value}, {"--group", A::Value},
    {"--number", A::Value},       {"--report-mode", A::Value}, {"--ip-alloc", A::Value},
    {"--op-password", A::Value},  {"--broadcast", A::Flag},    {"--broadcast-all", A::Flag},
};
constexpr DeclaredOption kDoorConfigOptions[] = {
    {"--device", A::Value, "-d"}, {"--record", A::Value},  {"--show", A::Flag},
    {"--backup", A::Value},       {"--restore", A::Value}, {"--json", A::Flag}};
constexpr DeclaredOption kCopyConfigOptions[] = {
    {"--from", A::Value}, {"--to", A::Repeated}, {"--json", A::Flag}};
constexpr DeclaredOption kRightListOptions[] = {
    {"--device", A::Value, "-d"}, {"--record", A::Value},     {"--from-file", A::Value},
    {"--name", A::Value},         {"--valid-from", A::Value}, {"--valid-to", A::Value},
    {"--zones", A::Value},        {"--readers", A::Value},    {"--times", A::Value},
    {"--type", A::Value},         {"--reserved", A::Value},   {"--antiback", A::Flag},
    {"--parcel", A::Flag},        {"--debt", A::Flag},        {"--flag1", A::Flag},
    {"--flag2", A::Flag},         {"--flag3", A::Flag},       {"--json", A::Flag},
};
constexpr DeclaredOption kRightGetOptions[] = {{"--device", A::Value, "-d"},
                                               {"--record", A::Value},
                                               {"--start", A::Value},
                                               {"--forward", A::Flag},
                                               {"--json", A::Flag}};
constexpr DeclaredOption kRightDownloadOptions[] = {{"--device", A::Value, "-d"},
                                                    {"--record", A::Value},
                                                    {"--card", A::Value},
                                                    {"--json", A::Flag}};
constexpr DeclaredOption kRightCopyOptions[] = {{"--from", A::Value}, {"--to", A::Repeated}};
constexpr DeclaredOption kRightSwipeOptions[] = {
    {"--device", A::Value, "-d"}, {"--record", A::Value}, {"--readers", A::Value}};
constexpr DeclaredOption kFirmwareOptions[] = {{"--device", A::Value, "-d"},
                                               {"--record", A::Value},
                                               {"--broadcast", A::Flag},
                                               {"--json", A::Flag}};
constexpr DeclaredOption kRightImageOptions[] = {
    {"--device", A::Value, "-d"}, {"--record", A::Value},   {"--ids", A::Flag},
    {"--template", A::Flag},      {"--whitelist", A::Flag}, {"--file", A::Value},
    {"--json", A::Flag}};
constexpr std::string_view kRightAddUsage =
    "rights add (-d IP | --record FILE) [CARD ...] [--from-file FILE] [--name T] [--valid-from "
    "\"Y-M-D h:m:s\"] [--valid-to \"...\"] [--zones N] [--readers N] [--times N] [--type N] "
    "[--reserved N] [--antiback] [--parcel] [--debt] [--flag1] [--flag2] [--flag3] [--json]";
constexpr std::string_view kRightRemoveUsage =
    "rights remove (-d IP | --record FILE) [CARD ...] [--from-file FILE] [--name T] [--valid-from "
    "\"Y-M-D h:m:s\"] [--valid-to \"...\"] [--zones N] [--readers N] [--times N] [--type N] "
    "[--reserved N] [--antiback] [--parcel] [--debt] [--flag1] [--flag2] [--flag3] [--json]";
constexpr std::string_view kRightCheckUsage =
    "rights check (-d IP | --record FILE) [CARD ...] [--from-file FILE] [--name T] [--valid-from "
    "\"Y-M-D h:m:s\"] [--valid-to \"...\"] [--zones N] [--readers N] [--times N] [--type N] "
    "[--reserved N] [--antiback] [--parcel] [--debt] [--flag1] [--flag2] [--flag3] [--json]";
} // namespace

// One line per command; the handlers live in one file per group of commands.
static const CliCommand kCommands[] = {
    {"decode", "frame", true, cmdDecodeFrame, "decode frame HEX", {}},
    {"decode", "record", true, cmdDecodeRecord, "decode record HEX [--seq N] [--three-byte]",
     kCodecOptions},
    {"decode", "right", true, cmdDecodeRight, "decode right HEX [--seq N] [--three-byte]",
     kCodecOptions},
    {"decode", "status", true, cmdDecodeStatus, "decode status WORD [--multi-line]",
     kStatusOptions},
    {"decode", "idcard", true, cmdDecodeIdcard, "decode idcard HEX", {}},
    {"card", "check", true, cmdCardCheck, "card check NUMBER", {}},
    {"card", "parse", true, cmdCardParse, "card parse TEXT...", {}},
    {"card", "convert", true, cmdCardConvert, "card convert [--force] [--reverse] TEXT...",
     kConvertOptions},
    {"right-text", "parse", true, cmdRightTextParse, "right-text parse LINE", {}},
    {"search", "", false, cmdSearch,
     "search [--mcast] [--pipe] [--to ADDR] [--port N] [--iface IP] [--wait MS] [--json]",
     kSearchOptions},
    {"time", "get", false, cmdTimeGet, "time get (-d IP | --record FILE) [--json]",
     kDeviceJsonOptions},
    {"time", "set", false, cmdTimeSet, "time set (-d IP | --record FILE)", kDeviceOptions},
    {"open", "", false, cmdOpen,
     "open (-d IP | --record FILE) --door N (--ms T | --state auto|release|hold|on|off)",
     kOpenOptions},
    {"open-all", "", false, cmdOpenAll, "open-all --door N --ms T [-d IP | --record FILE]",
     kOpenAllOptions},
    {"reset", "", false, cmdReset, "reset (-d IP | --record FILE)", kDeviceOptions},
    {"clear-log", "", false, cmdClearLog, "clear-log (-d IP | --record FILE)", kDeviceOptions},
    {"self-test", "", false, cmdSelfTest, "self-test (-d IP | --record FILE) --flags N",
     kSelfTestOptions},
    {"set485", "", false, cmdSet485, "set485 --com N --serial XXXXXXXX --flag F", kSet485Options},
    {"text", "", false, cmdText, "text -d IP [-d IP ...] --cmd TEXT [--broadcast] [--json]",
     kTextOptions},
    {"finger", "", false, cmdFinger, "finger -d IP FILE [--json]", kDeviceJsonOptions},
    {"preset", "", false, cmdPreset, "preset -d IP 1|2|3 [--json]", kDeviceJsonOptions},
    {"service", "", false, cmdService, "service status|start|stop", {}},
    {"detail", "", false, cmdDetail, "detail -d IP [--file] [--json]", kDetailOptions},
    {"save", "", false, cmdSave,
     "save -d IP [--name T] [--mac M] [--ip A] [--mask A] [--gateway A] [--host-ip A] "
     "[--host-port N] [--server-ip A] [--server-port N] [--group N] [--number N] "
     "[--report-mode 0-2] [--ip-alloc 0-2] [--op-password T] [--broadcast | --broadcast-all]",
     kSaveOptions},
    {"door-config", "", false, cmdDoorConfig,
     "door-config -d IP (--show | --backup FILE | --restore FILE) [--json]", kDoorConfigOptions},
    {"copy-config", "", false, cmdCopyConfig,
     "copy-config --from IP --to IP [--to IP ...] [--json]", kCopyConfigOptions},
    {"backup", "", false, cmdBackup, "backup -d IP", kDeviceOptions},
    {"restore", "", false, cmdRestore, "restore -d IP", kDeviceOptions},
    {"backup-factory", "", false, cmdBackupFactory, "backup-factory -d IP", kDeviceOptions},
    {"restore-factory", "", false, cmdRestoreFactory, "restore-factory -d IP", kDeviceOptions},
    {"clear-all", "", false, cmdClearAll, "clear-all -d IP", kDeviceOptions},
    {"logs", "fetch", false, cmdLogsFetch,
     "logs fetch (-d IP | --record FILE) [--start N] [--count N] [--json]", kLogFetchOptions},
    {"ids", "fetch", false, cmdIdsFetch,
     "ids fetch (-d IP | --record FILE) [--start N] [--count N] [--json]", kLogFetchOptions},
    {"logs", "fill", false, cmdLogsFill, "logs fill (-d IP | --record FILE) [--json]",
     kDeviceJsonOptions},
    {"logs", "view", false, cmdLogsView,
     "logs view (-d IP | --record FILE) [--page N | --last] [--download] [--card-only]",
     kLogViewOptions},
    {"rights", "add", false, cmdRightsAdd, kRightAddUsage, kRightListOptions},
    {"rights", "remove", false, cmdRightsRemove, kRightRemoveUsage, kRightListOptions},
    {"rights", "check", false, cmdRightsCheck, kRightCheckUsage, kRightListOptions},
    {"rights", "clear", false, cmdRightsClear, "rights clear (-d IP | --record FILE)",
     kDeviceOptions},
    {"rights", "get", false, cmdRightsGet,
     "rights get (-d IP | --record FILE) --start N [--forward] [--json]", kRightGetOptions},
    {"rights", "download", false, cmdRightsDownload,
     "rights download (-d IP | --record FILE) [--card C] [--json]", kRightDownloadOptions},
    {"rights", "upload", false, cmdRightsUpload, "rights upload (-d IP | --record FILE) FILE",
     kDeviceOptions},
    {"rights", "copy", false, cmdRightsCopy, "rights copy --from IP --to IP [--to IP ...]",
     kRightCopyOptions},
    {"rights", "swipe", false, cmdRightsSwipe,
     "rights swipe (-d IP | --record FILE) CARD --readers N", kRightSwipeOptions},
    {"rights", "image", false, cmdRightsImage,
     "rights image -d IP (--ids | --template | --whitelist | --file FILE) [--json]",
     kRightImageOptions},
    {"mem", "read", false, cmdMemRead, "mem read eeprom|flash|sound -d IP FILE [--json]",
     kDeviceJsonOptions},
    {"mem", "write", false, cmdMemWrite, "mem write eeprom|flash|sound -d IP FILE [--json]",
     kDeviceJsonOptions},
    {"firmware", "upgrade", false, cmdFirmwareUpgrade,
     "firmware upgrade -d IP FILE [--broadcast] [--json]", kFirmwareOptions},
    {"firmware", "read", false, cmdFirmwareRead, "firmware read -d IP FILE [--json]",
     kDeviceJsonOptions},
    {"firmware", "erase", false, cmdFirmwareErase, "firmware erase -d IP [--json]",
     kDeviceJsonOptions},
};

std::span<const CliCommand> cliCommands() {
    return kCommands;
}

} // namespace quorvane::cli
