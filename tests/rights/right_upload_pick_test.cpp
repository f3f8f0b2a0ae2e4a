// "上传权限(&U)" before any frame: the selection, the picked file, and a file that cannot be
// read.
#include <gtest/gtest.h>

#include "offline_session.h"
#include "rights/right_upload.h"

namespace quorvane {
namespace {

TEST(RightUploadPick, NeedsASelectionAndAFileThatCanBeRead) {
    test::OfflineSession o("right-upload-pick");
    auto& [home, port, session] = o;
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
