#pragma once
// The exit code of a command that ran one operation of the main window.
#include "cli_context.h"
#include "session/operation_result.h"

namespace quorvane::cli {

inline int operationExitCode(int result) {
    switch (result) {
    case kOperationDone:
        return kOk;
    case kOperationDeclined:
        return kAnsweredNo;
    default:
        return kFailed;
    }
}

} // namespace quorvane::cli
