#pragma once
// The standard handling of the replies to the two reads of a right, 53 (by position) and 117
// (by card): the right they carry is shown as "获取权限成功，信息=…", or as
// "操作成功，设备上没有要获取的权限！" when its card number is zero; a failure status shows
// "权限操作失败！". The other rights replies (19, 21, 23, 25, 43, 45, 47) are handled in the
// dispatcher itself.
#include <string>

#include "platform/bytes.h"
#include "rights/right_text.h"

namespace quorvane {

class ToolSession;

// Whether a read reply's payload holds a whole right (and, withPosition, its position first):
// a shorter one with status 1 is a failed read, not "no right".
bool holdsWholeRight(Bytes payload, bool withPosition, int rightMode);

// The notice for a read reply's payload (withPosition: 53, whose right follows its position).
std::string readReplyNotice(std::uint8_t status, Bytes payload, bool withPosition,
                            const RightTextOptions& options);

// Registers both handlers on the session's dispatcher (again: the options are read anew).
// The read operations do this before they send; a window may do it once at start.
void installRightReplies(ToolSession& session);

} // namespace quorvane
