#include <gtest/gtest.h>

#include "config/device_backup.h"
#include "offline_session.h"
#include "session/operation_result.h"

namespace quorvane {
namespace {

// A backup asked for with no controller selected says so after the question, not nothing.
TEST(DeviceBackup, WithoutASelectedControllerTheAnswerIsTheNoSelectionMessage) {
    test::OfflineSession o("device-backup");
    auto& [home, port, session] = o;
    port.answer(Answer::Yes);
    EXPECT_EQ(deviceBackupCommand(session, std::nullopt, true, DeviceBackupCommand::Backup),
              kOperationFailed);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"请选择要操作的设备！"});
}

// Enter once said Yes to wiping a controller.
TEST(DeviceBackup, ClearingAllDataAsksWithNoAsTheDefault) {
    test::OfflineSession o("clear-all");
    auto& [home, port, session] = o;
    EXPECT_EQ(clearAllData(session, DeviceUIInfo{}), kOperationDeclined);
    ASSERT_EQ(port.defaultNoQuestions().size(), 1u);
    EXPECT_TRUE(port.defaultNoQuestions()[0].starts_with("此操作将清除所有数据"));
}

} // namespace
} // namespace quorvane
