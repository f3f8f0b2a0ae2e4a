// The batch dialog: from the main window it re-addresses three simulated controllers in one
// run; on its own, what it refuses and what it lists.
#include <QTableWidget>

#include "dialogs/dlg_batch_cmd.h"
#include "gui_test_support.h"
#include "recording_user_port.h"
#include "sample_frames.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

class GuiBatchCmd : public QObject {
    Q_OBJECT

  private slots:
    void reAddressesThreeSimulatedControllers() {
        GuiWindow w("batch-cmd", {}, 3);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        w.c().search->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.c().list->topLevelItemCount(), 3, 10000);
        w.c().list->setCurrentItem(w.c().list->topLevelItem(0));
        onNextDialog<CDlgBatchCmd>([](CDlgBatchCmd* d) {
            QCOMPARE(d->targetList()->rowCount(), 1); // the selected controller
            d->findChild<QPushButton*>("addAll")->click();
            d->commandEdit()->setText("setIp=127.0.0.{SEQ100};setIpAlloc=0");
            d->runButton()->click();
        });
        w.c().textCmd->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.controller("127.0.0.102")["text"]["received"][0].str() ==
                                     "setIp=127.0.0.102;setIpAlloc=0",
                                 10000);
        w.c().search->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.c().list->topLevelItemCount(), 3, 10000);
        QStringList addresses;
        for (int i = 0; i < 3; ++i)
            addresses << w.c().list->topLevelItem(i)->text(2);
        QCOMPARE(addresses, (QStringList{"127.0.0.100", "127.0.0.101", "127.0.0.102"}));
        QCOMPARE(QString::fromStdString(readFile(w.home + "/cmd-hist.txt")),
                 u("setIp=127.0.0.{SEQ100};setIpAlloc=0"));
    }

    // Refusals keep the dialog open and clear the broadcast choice; the history shows the last
    // command first and a choice pastes it. (Which ids may be targets is the command line's
    // AnIdOf65500OrMoreIsNoTarget.)
    void refusesAndListsAsTheRulesSay() {
        const std::string home = makeGuiHome("batch-cmd-rules");
        writeFile(home + "/cmd-hist.txt", "old\r\nnewest");
        const Settings settings(home);
        RecordingUserPort port;
        CDlgBatchCmd d({sampleDevice(3)}, 0, settings, nullptr, port);
        d.broadcastButton()->click();
        QVERIFY(!d.broadcast());
        d.availableList()->selectRow(0);
        emit d.availableList()->cellDoubleClicked(0, 0);
        d.runButton()->click();
        emit d.history()->activated(0);
        QCOMPARE(d.commandEdit()->text(), u("newest"));
        QCOMPARE(port.messages(),
                 (std::vector<std::string>{"至少要选择一个目标控制板！", "文本指令不能为空！"}));
        QVERIFY(d.result() != QDialog::Accepted);
    }
};

QTEST_MAIN(GuiBatchCmd)
#include "gui_batch_cmd.moc"
