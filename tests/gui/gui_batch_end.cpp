// How a batch of the window ends: one summary whatever opens; after a Cancel pressed while a
// card is on its way, the summary, the failure list, the grant log and the controller agree;
// a long message scrolls in a box that fits a small screen.
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScreen>

#include "dialogs/dlg_right_man.h"
#include "fake_clock.h"
#include "gui_test_support.h"
#include "rights/right_result_files.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

// The window searched, its first controller selected.
void searchAndSelect(GuiWindow& w) {
    QVERIFY(w.start());
    w.c().search->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.c().list->topLevelItemCount(), 1, 10000);
    w.c().list->setCurrentItem(w.c().list->topLevelItem(0));
}

void runRightsCommand(GuiWindow& w, int command, const char* numbers) {
    onNextDialog<CDlgRightMan>([command, numbers](CDlgRightMan* d) {
        d->numbersEdit()->setPlainText(numbers);
        d->commandButton(command)->click();
    });
    w.c().rights->click();
}

QStringList fileLines(const std::string& path) {
    QStringList lines = QString::fromStdString(fromGbk(readFile(path))).split("\r\n");
    lines.removeAll(QString());
    return lines;
}

QString boxStartingWith(const MessageBoxCatcher& boxes, const char* head) {
    for (const QString& t : boxes.texts())
        if (t.startsWith(u(head)))
            return t;
    return {};
}

} // namespace

class GuiBatchEnd : public QObject {
    Q_OBJECT

  private slots:
    void aCancelledAddAgreesWithTheController() {
        // Every add is answered 300 ms late: Cancel, pressed as the second card goes out, finds
        // that card on its way.
        auto w = std::make_unique<GuiWindow>("batch-cancel", "", 1,
                                             std::vector<std::string>{"--fault", "delay:18:300"});
        searchAndSelect(*w);
        if (QTest::currentTestFailed())
            return;
        MessageBoxCatcher boxes;
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            QProgressDialog* p = w->port.progressDialog();
            if (p && p->labelText().startsWith(u("正在添加权限(2/"))) {
                cancel.stop();
                p->findChild<QPushButton*>()->click();
            }
        });
        cancel.start(5);
        runRightsCommand(*w, kRightCmdAdd, "31;32;33;34;35");

        const QString summary = boxStartingWith(boxes, "操作已取消！");
        QVERIFY2(!summary.isEmpty(), qPrintable(boxes.texts().empty() ? "" : boxes.texts()[0]));
        const int done = QRegularExpression(u("成功(\\d+)")).match(summary).captured(1).toInt();
        QCOMPARE(done, 2); // the card in flight counted, nothing sent after it

        JsonValue rights = w->controller("127.0.0.1")["rights"];
        QCOMPARE(rights["count"].integer(), std::int64_t(done));
        QStringList stored;
        for (std::size_t i = 0; i < rights["records"].size(); ++i) {
            const std::string bytes = unhex(rights["records"][i]["right"].str());
            stored << QString::number(static_cast<std::uint8_t>(bytes.at(4)));
        }
        QStringList granted;
        for (const QString& line : fileLines(w->home + "/" + grantLogName(w->session->clock())))
            granted << line.section(' ', -1);
        stored.sort();
        QCOMPARE(granted, stored);
        QStringList left{"31", "32", "33", "34", "35"};
        for (const QString& card : granted)
            left.removeAll(card);
        QCOMPARE(fileLines(w->home + "/添加权限失败清单.txt"), left);
        QVERIFY(summary.contains(u("未成功的已列入：") +
                                 QString::fromStdString(w->home + "/添加权限失败清单.txt")));
        QVERIFY(w->c().status->text().isEmpty());
        QVERIFY(!boxStartingWith(boxes, "添加权限结束").size() && !w->port.noticeBox());
    }

    // Two cards never answered: a summary, though no viewer opens the list it names.
    void uncheckedCardsEndWithASummary() {
        FakeClock clock(std::chrono::milliseconds(250));
        auto w = std::make_unique<GuiWindow>(
            "batch-silent", "", 1, std::vector<std::string>{"--fault", "loss:22:100"}, &clock);
        searchAndSelect(*w);
        if (QTest::currentTestFailed())
            return;
        MessageBoxCatcher boxes;
        runRightsCommand(*w, kRightCmdCheck, "41;42");
        QTRY_VERIFY(!boxStartingWith(boxes, "操作失败！").isEmpty());
        const QString summary = boxStartingWith(boxes, "操作失败！");
        QVERIFY2(summary.startsWith(u("操作失败！\n检查权限：共2，成功0，失败0，无应答2\n"
                                      "未成功的已列入：") +
                                    QString::fromStdString(w->home) + u("/检查权限失败清单.txt")),
                 qPrintable(summary));
        QCOMPARE(w->port.opened, std::vector<std::string>{w->home + "/检查权限失败清单.txt"});
    }

    void aLongMessageScrollsInABoxThatFitsTheScreen() {
        TestPort port;
        QString shown;
        QRect frame;
        bool okVisible = false;
        onNextDialog<QDialog>([&](QDialog* d) {
            shown = d->findChild<QPlainTextEdit*>("messageText")->toPlainText();
            frame = d->frameGeometry();
            auto* ok = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            okVisible = ok->isVisible() && d->rect().contains(ok->geometry());
            ok->click();
        });
        std::string text;
        for (int i = 1; i <= 200; ++i)
            text += "127.0.0." + std::to_string(i) + "：保存成功\n";
        port.showMessage(text);
        QCOMPARE(shown, QString::fromStdString(text));
        QVERIFY(frame.width() <= 1024 && frame.height() <= 768);
        QVERIFY(okVisible);
    }
};

QTEST_MAIN(GuiBatchEnd)
#include "gui_batch_end.moc"
