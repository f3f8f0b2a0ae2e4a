// How a batch of the window ends: one summary whatever opens, which after a Cancel pressed while
// a card is on its way agrees with the controller (what a cancel lists: RightsOps tests).
#include <QLabel>
#include <QProgressDialog>

#include "fake_clock.h"
#include "gui_test_support.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {
// The window on its one simulated controller, which the rights dialog's command goes to.
void runRights(GuiWindow& w, int command, const char* numbers) {
    QVERIFY(w.start());
    w.c().search->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.c().list->topLevelItemCount(), 1, 10000);
    w.c().list->setCurrentItem(w.c().list->topLevelItem(0));
    runRightsCommand(w, command, numbers);
}
} // namespace

class GuiBatchEnd : public QObject {
    Q_OBJECT
  private slots:
    // Adds are answered 300 ms late: Cancel, pressed as the second card goes out, finds it on
    // its way, and the controller's answer counts it.
    void aCancelledAddAgreesWithTheController() {
        GuiWindow w("batch-cancel", "", 1, {"--fault", "delay:18:300"});
        MessageBoxCatcher boxes;
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [&] {
            QProgressDialog* p = w.port.progressDialog();
            if (p && p->labelText().startsWith(u("正在添加权限(2/")))
                cancel.stop(), p->findChild<QPushButton*>()->click();
        });
        cancel.start(5);
        runRights(w, kRightCmdAdd, "31;32;33;34;35");
        // Then come the failure list's name and the time, which the system clock makes.
        QCOMPARE(boxes.texts().back().section('\n', 0, 1),
                 u("操作已取消！\n添加权限：共5，成功2，失败0，无应答0，未处理3"));
        QCOMPARE(w.controller("127.0.0.1")["rights"]["count"].integer(), std::int64_t(2));
        QVERIFY(w.c().status->text().isEmpty() && !w.port.noticeBox());
    }

    // Two checks never answered (four silent waits each): the summary, though no viewer opens.
    void unansweredChecksEndWithTheSummary() {
        FakeClock clock(std::chrono::milliseconds(250));
        GuiWindow w("batch-silent", "", 1, {"--fault", "loss:22:100"}, &clock);
        MessageBoxCatcher boxes;
        runRights(w, kRightCmdCheck, "41;42");
        const std::string failures = w.home + "/检查权限失败清单.txt";
        QCOMPARE(boxes.texts().back(), u("操作失败！\n检查权限：共2，成功0，失败0，无应答2\n"
                                         "未成功的已列入：") +
                                           QString::fromStdString(failures) + u("\n用时40秒"));
        QCOMPARE(w.port.opened, std::vector<std::string>{failures});
    }
};

QTEST_MAIN(GuiBatchEnd)
#include "gui_batch_end.moc"
