#include <gtest/gtest.h>

#include <filesystem>

#include "config/device_backup.h"
#include "config/device_detail.h"
#include "infra/codepage.h"
#include "model/config_text.h"
#include "offline_session.h"
#include "session/operation_result.h"

namespace quorvane {
namespace {

struct Offline : ::testing::Test, test::OfflineSession {
    Offline() : OfflineSession("offline-config") {}
};

TEST_F(Offline, TheDetailIsShownAndWrittenToItsFileWhenAsked) {
    EXPECT_EQ(showDevDetailInfo(session, std::nullopt, "", true), kOperationFailed);
    EXPECT_EQ(port.messages().back(), "请选择要操作的设备！");

    DeviceUIInfo r;
    r.name = "门禁2";
    const std::string path = home + "/" + kDetailFileName;
    EXPECT_EQ(showDevDetailInfo(session, r, "服务状态：停止", false), kOperationDone);
    EXPECT_EQ(showDevDetailInfo(session, r, "服务状态：停止", true), kOperationDone);
    EXPECT_EQ(port.opened(), std::vector<std::string>{path}); // the first call opened nothing
    const std::string text = devDetailText(r, "服务状态：停止");
    EXPECT_EQ(test::readFile(path), toGbk(text));
    EXPECT_TRUE(text.starts_with(port.messages().back())); // the box without the last break

    // A file that cannot be written is reported, and nothing is opened.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(showDevDetailInfo(session, r, "服务状态：停止", true), kOperationFailed);
    EXPECT_EQ(port.messages().back(), "保存失败！");
    EXPECT_EQ(port.opened().size(), 1u);
}

// A backup asked for with no controller selected says so after the question, not nothing;
// clearing all data asks with No as the default, for Enter once said Yes to wiping a controller.
TEST_F(Offline, TheQuestionsOfABackupAndOfClearingAllData) {
    port.answer(Answer::Yes);
    EXPECT_EQ(deviceBackupCommand(session, std::nullopt, true, DeviceBackupCommand::Backup),
              kOperationFailed);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"请选择要操作的设备！"});
    EXPECT_EQ(clearAllData(session, DeviceUIInfo{}), kOperationDeclined);
    ASSERT_EQ(port.defaultNoQuestions().size(), 1u);
    EXPECT_TRUE(port.defaultNoQuestions()[0].starts_with("此操作将清除所有数据"));
}

} // namespace
} // namespace quorvane
