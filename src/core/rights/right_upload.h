#pragma once
// Sending a right file to a controller: every right of the file (right_file.h) as an add, on
// the same loop, failure file and grant log as the add of the number field.
#include <optional>
#include <string>

#include "model/device_info.h"
#include "rights/right_batch.h"
#include "rights/right_file.h"

namespace quorvane {

class ToolSession;

// uploadRightImpl. An unreadable file: "打开文件失败！". A line that is not a right is named in
// one message ("权限格式错误：…") and left out.
RightBatchResult uploadRightFile(ToolSession& session, const DeviceUIInfo& device,
                                 const std::string& path);

// The rights of a file already read, as uploadRightFile sends them.
RightBatchResult uploadRightContent(ToolSession& session, const DeviceUIInfo& device,
                                    const RightFileContent& content,
                                    const RightBatchOptions& options = {});

// "上传权限(&U)": the person picks the file ("TXT Files(*.txt)|*.txt|All Files(*.*)|*.*||"),
// then uploadRightFile. No file picked: nothing happens.
RightBatchResult uploadRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected);

} // namespace quorvane
