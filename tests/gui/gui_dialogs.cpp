// The rights dialog's check lists, conversion and local reader; the host-service buttons with
// the real service; the change of the start password; the options editor.
#include <atomic>
#include <filesystem>
#include <future>

#include <unistd.h>

#include <QFontComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QToolButton>

#include "app/service_group.h"
#include "dialogs/dlg_check_list.h"
#include "dialogs/dlg_convert_2nd.h"
#include "dialogs/dlg_option_ini.h"
#include "dialogs/dlg_password.h"
#include "dialogs/local_card_reads.h"
#include "fake_clock.h"
#include "gui_test_support.h"
#include "recording_user_port.h"
#include "rights/right_defaults.h"
#include "session/host_service.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {

// A rights dialog on its own, with the defaults of a program directory.
struct Dialog {
    explicit Dialog(const std::string& extraConfig, LocalCardReads* reads = nullptr)
        : settings(makeGuiHome("rights-dialog", extraConfig)),
          dlg(settings, readRightDefaults(settings, clock), reads) {}
    Settings settings;
    FakeClock clock;
    CDlgRightMan dlg;
};

// The service under a name of this test's own, so services of tests beside it are never seen.
const std::string kName = "tavrin-gui-" + std::to_string(::getpid());

const char* kSchema = "[common]\nfiles=.\\config.ini\n[.\\config.ini]\nsections=net\n"
                      "[.\\config.ini$net]\nkeys=mcast;count;face;color\n"
                      "[.\\config.ini$net$mcast]\nname=网络组播\noption={1:开,0:关}\n"
                      "[.\\config.ini$net$count]\nname=启动后搜索\noption=integer:5,100\n"
                      "[.\\config.ini$net$face]\noption=font\n"
                      "[.\\config.ini$net$color]\noption=color\n";

} // namespace

class GuiDialogs : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { qputenv(kServiceProgramVariable, QByteArray::fromStdString(kName)); }

    // The buttons follow the status before the message shows, and the window takes no clicks
    // while a script runs.
    void startAndStopRunTheRealService() {
        GuiWindow w("settings-service");
        for (const char* s : {"启动服务.sh", "停止服务.sh", "service-lib.sh"})
            fs::copy_file(sourceDir() + "/dist/" + s, w.home + "/" + s);
        fs::copy_file(tavrinPath(), w.home + "/" + kName);
        const auto& c = w.c();
        QStringList seen;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen << box->text() + " " + c.serviceState->text() +
                        (c.serviceStop->isEnabled() ? " stop" : " start");
            box->accept();
        });
        watch.start(10);
        QTimer::singleShot(0, [&] { seen << (c.changePass->isEnabled() ? "free" : "busy"); });
        c.serviceStart->click();
        c.serviceStop->click();
        QCOMPARE(seen, (QStringList{"busy", u("操作完成！ 服务状态：运行中 stop"),
                                    u("操作完成！ 服务状态：停止 start")}));
        QVERIFY(c.changePass->isEnabled());
    }

    // The new password is asked twice and both answers go to the change (which refuses two that
    // differ: the start gate's own test).
    void theNewStartPasswordIsAskedTwice() {
        Settings s(makeGuiHome("settings-password"));
        onNextDialog<CDlgPassword>([](CDlgPassword* first) {
            first->findChild<QLineEdit*>("password")->setText("abc");
            first->accept();
            onNextDialog<CDlgPassword>([](CDlgPassword* again) {
                again->findChild<QLineEdit*>("password")->setText("abd");
                again->accept();
            });
        });
        QCOMPARE(askNewStartPassword(nullptr, s),
                 std::optional<std::string>("两次输入的密码不一致！"));
    }

    void theOptionsEditorShowsEachTypeAndRefusesABadNumber() {
        std::string dir = scratchDir("settings-options");
        writeFile(dir + "/options.ini", toGbk(kSchema));
        writeFile(dir + "/config.ini", "[net]\nmcast=1\ncount=20\n");
        Settings settings(dir);
        RecordingUserPort port;
        CDlgOptionINI dlg(settings, port);
        auto* mcast = qobject_cast<QComboBox*>(dlg.editorFor("net", "mcast"));
        QVERIFY(mcast && mcast->currentText() == u("开"));
        auto* count = dlg.editorFor("net", "count")->findChild<QLineEdit*>("text");
        QTest::keyClicks(count, "x");
        QCOMPARE(count->text(), QString("20")); // digits only
        dlg.editorFor("net", "count")->findChild<QToolButton*>("up")->click();
        QCOMPARE(count->text(), QString("21"));
        QVERIFY(qobject_cast<QFontComboBox*>(dlg.editorFor("net", "face")));
        QVERIFY(dlg.editorFor("net", "color")->findChild<QToolButton*>("swatch"));

        mcast->setCurrentIndex(1);
        dlg.save(); // which lines it writes is OptionsSchema's test
        QCOMPARE(port.messages(), std::vector<std::string>{"操作成功！"});
        const std::string saved = readFile(dir + "/config.ini");
        QVERIFY(saved.find("mcast=0\n") != std::string::npos);
        count->setText("500");
        emit count->textEdited("500");
        dlg.save();
        QCOMPARE(port.messages().back(), std::string("“启动后搜索”的值必须是5 到 100 之间的整数，"
                                                     "“500”不是。没有保存任何修改。"));
        QCOMPARE(readFile(dir + "/config.ini"), saved);
    }
    // A click into the hour or the minute, then two digits: they replace that section.
    void aClickedTimeSectionTakesTheDigitsTyped() {
        Dialog d("");
        auto* time = d.dlg.findChild<QTimeEdit*>("validFromTime");
        QVERIFY(time);
        d.dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d.dlg));
        auto* line = time->findChild<QLineEdit*>();
        const int digit = line->fontMetrics().horizontalAdvance('0');
        for (int x : {digit, 4 * digit}) {
            time->setTime(QTime(8, 30, 0));
            QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(x, line->height() / 2));
            QTest::keyClicks(time, "09");
            QCOMPARE(time->time(), x == digit ? QTime(9, 30, 0) : QTime(8, 9, 0));
        }
    }

    void theCheckListsGiveTheSumOfTheTickedBits() {
        Dialog d("");
        for (const char* field : {"readers", "timeZones"}) {
            onNextDialog<CDlgCheckList>([](CDlgCheckList* list) {
                for (int i = 0; i < list->list()->count(); ++i)
                    list->list()->item(i)->setCheckState(i == 1 || i == 7 ? Qt::Checked
                                                                          : Qt::Unchecked);
                list->accept();
            });
            d.dlg.findChild<QPushButton*>(field[0] == 'r' ? "pickReaders" : "pickTimeZones")
                ->click();
            QCOMPARE(d.dlg.findChild<QSpinBox*>(field)->value(), 130);
        }
    }

    // The output is appended after what was typed (the conversion and its count are the
    // conversion's own test).
    void aConversionAppendsItsOutput() {
        Dialog d("");
        d.dlg.numbersEdit()->setPlainText("1");
        MessageBoxCatcher boxes;
        onNextDialog<Cconvert2ndDlg>([&](Cconvert2ndDlg* c) {
            c->inputEdit()->setPlainText("12345");
            c->accept();
        });
        d.dlg.findChild<QPushButton*>("convertId")->click();
        QCOMPARE(QString::fromStdString(d.dlg.fields().numbers),
                 u("1\r\n00012345000000000X\r\n\r\n"));
    }

    // The read waits until the window's thread has ticked five times meanwhile; the number it
    // gives is appended.
    void theLocalReaderNeverBlocksTheWindow() {
        std::atomic<bool> reading{false};
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        LocalCardReads reads;
        reads.setReader([&reading, released]() -> std::optional<std::string> {
            reading = true;
            released.wait();
            return "110105194912310021";
        });
        Dialog d("[right]\ndefault-enable-localreader=1\n", &reads);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            if (reading && ++ticks == 5)
                release.set_value();
        });
        ticker.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(d.dlg.numbersEdit()->toPlainText().contains("110105194912310021"),
                                 8000);
        d.dlg.reject(); // the dialog stops asking
    }
};

QTEST_MAIN(GuiDialogs)
#include "gui_dialogs.moc"
