#pragma once
// loadLocalRights: card numbers from one of the local sources (local_right_sources.h) into a
// set for the number field and, when an image is given, into the right-storage image as
// rights made of the dialog's fields.
#include <set>
#include <string>

#include "rights/local_right_sources.h"
#include "rights/right_fields.h"

namespace quorvane {

class RightImage;
class ToolSession;

// The working copy of the numbers taken from the template or the whitelist.
inline constexpr std::string_view kTakenNumbersFile = "tmp.txt";

// The file a source reads: "template.txt" in the user's home directory, "白名单.txt" or
// "ids.txt" in the program directory (nothing for the user's own file).
std::string localRightSourcePath(ToolSession& session, LocalRightSource source);

struct LocalRightsOptions {
    // Show the count and ask "已经成功加载所有卡号，数量=%d，要批量同步卡权限到控制器吗？…"
    // before building, and the rights summary after.
    bool ask = false;
    // Receives every number read (UTF-8), when given.
    std::set<std::string>* cards = nullptr;
    // Receives a right for every number, when given; the first number resets its counters.
    RightImage* image = nullptr;
};

// The template and the whitelist first have their numbers written to "tmp.txt" (one a line),
// which is then read as the number file; the user's file is picked
// ("Text Files(*.txt)|*.txt|All Files(*.*)|*.*||"; none picked: "请选择文件！"). A number file
// that cannot be read: "打开文件失败！" (a missing template or whitelist says so only when
// asking). The rights carry the fields' validity, time zones, readers and remaining uses, no
// name, and flag bit 0 only for text identifiers and 20-digit numbers; numbers that are not
// cards are left out of the image.
// Returns the count of numbers read; -1 when no file was read, -2 when the person said No.
int loadLocalRights(ToolSession& session, LocalRightSource source, const RightFields& fields,
                    const LocalRightsOptions& options);

} // namespace quorvane
