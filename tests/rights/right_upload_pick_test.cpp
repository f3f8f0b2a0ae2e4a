// "上传权限(&U)" before any frame: the selection, the picked file, and a file that cannot be
// read.
#include <gtest/gtest.h>

#include "recording_user_port.h"
#include "rights/right_upload.h"
#include "session/tool_session.h"
#include "test_paths.h"

namespace quorvane {
namespace {

TEST(RightUploadPick, NeedsASelectionAndAFileThatCanBeRead) {
    const std::string home = test::scratchDir("right-upload-pick");
    test::writeFile(home + "/config.ini", "[net]\nenable-pipe=0\n");
    test::RecordingUserPort port;
    ToolSession session(home, port);
    uploadRights(session, std::nullopt);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"请选择要操作的记录！"});
    const DeviceUIInfo device;
    uploadRights(session, device); // no file picked: nothing happens
    EXPECT_EQ(port.messages().size(), 1u);
    port.file(home + "/missing.txt");
    EXPECT_EQ(uploadRights(session, device).rc, -1);
    EXPECT_EQ(port.messages().back(), "打开文件失败！");
}

} // namespace
} // namespace quorvane
