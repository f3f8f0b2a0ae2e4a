// The rights area of the main window: the rights dialog's defaults, check lists, generator and
// conversion buttons; the local reader polled off the window's thread; an installer's round
// of add, check, download and remove against quorvane-sim from the dialog; numbers taken from
// a data file; and what each operation says without a selected controller.
#include <atomic>
#include <future>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QtTest>

#include "app/device_list_group.h"
#include "app/operation_controls.h"
#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "app/right_handlers.h"
#include "child_process.h"
#include "dialogs/dlg_check_list.h"
#include "dialogs/dlg_config_copy.h"
#include "dialogs/dlg_convert_2nd.h"
#include "dialogs/dlg_right_man.h"
#include "dialogs/local_card_reads.h"
#include "fake_clock.h"
#include "gui_test_support.h"
#include "infra/settings.h"
#include "rights/right_defaults.h"
#include "rights/right_text.h"
#include "rights/x_right.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

QString u(const char* text) {
    return QString::fromUtf8(text);
}

template <class W> W* child(QWidget* dlg, const char* name) {
    return dlg->findChild<W*>(QString::fromUtf8(name));
}

bool seen(const MessageBoxCatcher& boxes, const char* text) {
    const auto& t = boxes.texts();
    return std::find(t.begin(), t.end(), u(text)) != t.end();
}

bool seenStart(const MessageBoxCatcher& boxes, const QString& start) {
    const auto& t = boxes.texts();
    return std::any_of(t.begin(), t.end(), [&](const QString& s) { return s.startsWith(start); });
}

// The stored rights of a controller's dump entry, in position order.
std::vector<std::string> storedRights(const JsonValue& rights) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rights["records"].size(); ++i)
        out.push_back(rights["records"][i]["right"].str());
    return out;
}

// The stored right of a card in a controller's dump entry (the simulator keeps 24 bytes).
std::optional<xRight> rightOfCard(const JsonValue& rights, std::uint32_t card) {
    for (const std::string& hexText : storedRights(rights)) {
        const std::string bytes = unhex(hexText);
        auto r = decodeRight(asBytes(bytes), 2);
        if (r && r->cardHigh == 0 && r->cardLow == card)
            return r;
    }
    return std::nullopt;
}

std::string rightLine(std::uint32_t card, std::uint8_t readers) {
    xRight r;
    r.cardLow = card;
    r.readerMask = readers;
    r.remainingCount = 9;
    return toGbk(formatRightText(r, 0, {})) + "\r\n";
}

// Documents are not opened on the test machine; the port remembers what would be.
class TestPort : public QtUserPort {
  public:
    void openDocument(const std::string& path, bool) override { opened.push_back(path); }
    std::optional<std::string> pickOpenFile(const std::string&) override { return picked; }
    std::vector<std::string> opened;
    std::optional<std::string> picked;
};

// The main window on a program directory; with a simulator when controllers > 0.
struct Window {
    Window(const std::string& name, int controllers, const std::string& extraConfig = {})
        : port(testPort(60)), home(makeGuiHome(name, extraConfig)), dumpFile(home + "/sim.json") {
        Settings settings(home);
        settings.writeString("net", "common-dev-admin-port", std::to_string(port));
        settings.writeString("net", "common-broadcast-address", "2147483647");
        if (controllers > 0)
            sim = std::make_unique<ChildProcess>(std::vector<std::string>{
                simPath(), "--port", std::to_string(port), "--count", std::to_string(controllers),
                "--right-mode", "2", "--dump", dumpFile});
        session = std::make_unique<ToolSession>(home, userPort);
        session->log().setEcho(false);
        dlg = std::make_unique<CQuorvaneDlg>(*session, userPort);
    }
    bool start() {
        if ((sim && !sim->waitForLine("ready")) || !dlg->OnInitDialog())
            return false;
        dlg->show();
        return QTest::qWaitForWindowExposed(dlg.get());
    }
    const MainWindowControls& c() const { return dlg->controls(); }
    bool searchAndSelect(int rows) {
        c().search->click();
        if (!QTest::qWaitFor([&] { return c().list->topLevelItemCount() == rows; }, 10000))
            return false;
        c().list->setCurrentItem(c().list->topLevelItem(0));
        return true;
    }
    JsonValue rights(const std::string& address = "127.0.0.1") {
        auto state = requestSimDump(*sim, dumpFile);
        return state ? simController(*state, address)["rights"] : JsonValue{};
    }
    // Opens the rights dialog from its button; act fills it and presses a button.
    void inRightsDialog(std::function<void(CDlgRightMan*)> act) {
        onNextDialog<CDlgRightMan>(std::move(act));
        c().rights->click();
    }

    int port;
    std::string home;
    std::string dumpFile;
    std::unique_ptr<ChildProcess> sim;
    TestPort userPort;
    std::unique_ptr<ToolSession> session;
    std::unique_ptr<CQuorvaneDlg> dlg;
};

// A rights dialog on its own, with the defaults of a program directory.
struct Dialog {
    explicit Dialog(const std::string& extraConfig, LocalCardReads* reads = nullptr)
        : home(makeGuiHome("rights-dialog", extraConfig)), settings(home),
          dlg(settings, readRightDefaults(settings, clock), reads) {}
    std::string home;
    Settings settings;
    FakeClock clock;
    CDlgRightMan dlg;
};

void press(CDlgRightMan* d, int command) {
    d->commandButton(command)->click();
}

} // namespace

class GuiRights : public QObject {
    Q_OBJECT
  private slots:
    void theDialogShowsTheDefaultsAndSavesThem() {
        Dialog d("[common]\nman-types=员工;访客;保洁\nserach-right-mode=0\n"
                 "[right]\ndefault-times=100\ndefault-reader=3\ndefault-timezone=6\n"
                 "default-antiback=1\ndefault-debt=1\ndefault-flag2=1\ndefault-mantype=1\n"
                 "default-group=6\ndefault-seconds=0\ndefault-enable-localreader=0\n");
        CDlgRightMan& dlg = d.dlg;
        QCOMPARE(dlg.windowTitle(), u("权限配置"));
        QCOMPARE(child<QSpinBox>(&dlg, "times")->value(), 100);
        QCOMPARE(child<QSpinBox>(&dlg, "readers")->value(), 3);
        QCOMPARE(child<QSpinBox>(&dlg, "timeZones")->value(), 6);
        QVERIFY(child<QCheckBox>(&dlg, "antiPassback")->isChecked());
        QVERIFY(!child<QCheckBox>(&dlg, "parcel")->isChecked());
        QCOMPARE(child<QComboBox>(&dlg, "type")->count(), 3);
        QCOMPARE(child<QComboBox>(&dlg, "type")->currentText(), u("访客"));
        QCOMPARE(child<QComboBox>(&dlg, "group")->currentText(), u("管理组"));
        QCOMPARE(child<QDateEdit>(&dlg, "validFromDate")->date(), QDate(2000, 1, 1));
        QCOMPARE(child<QDateEdit>(&dlg, "validToDate")->date(), QDate(2030, 1, 1));
        QCOMPARE(child<QTimeEdit>(&dlg, "validToTime")->time(), QTime(23, 59, 59));
        QVERIFY(!child<QCheckBox>(&dlg, "searchForward")->isChecked());
        // Without debug the four test buttons are hidden; the full upload is not here yet.
        for (int c : {kRightCmdFill1, kRightCmdFill10, kRightCmdVerify1, kRightCmdVerify10})
            QVERIFY(dlg.commandButton(c)->isHidden());
        QVERIFY(!dlg.commandButton(kRightCmdUploadImage)->isEnabled());
        QVERIFY(dlg.commandButton(kRightCmdUploadImage)->toolTip().contains(kNotAvailableYet));

        child<QPushButton>(&dlg, "unlimited")->click();
        child<QSpinBox>(&dlg, "readers")->setValue(17);
        child<QComboBox>(&dlg, "type")->setCurrentIndex(2);
        child<QCheckBox>(&dlg, "parcel")->setChecked(true);
        child<QCheckBox>(&dlg, "antiPassback")->setChecked(false);
        child<QPushButton>(&dlg, "saveDefault")->click();
        child<QCheckBox>(&dlg, "searchForward")->click();
        Settings s(d.home);
        QCOMPARE(s.readInt("right", "default-times", 0), 65535);
        QCOMPARE(s.readInt("right", "default-reader", 0), 17);
        QCOMPARE(s.readInt("right", "default-mantype", 0), 2);
        QCOMPARE(s.readInt("right", "default-package", 0), 1);
        QCOMPARE(s.readInt("right", "default-antiback", 1), 0);
        QCOMPARE(s.readInt("right", "default-seconds", 1), 0); // not written
        QCOMPARE(s.readInt("common", "serach-right-mode", 0), 1);
        Dialog debug("[common]\ndebug=1\n");
        QVERIFY(!debug.dlg.commandButton(kRightCmdVerify10)->isHidden());
    }

    void theCheckListsGiveTheSumOfTheTickedBits_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<int>("sum");
        QTest::newRow("readers COM-1 and Wiegand-1") << "pickReaders"
                                                     << "readers" << QList<int>{0, 4} << 17;
        QTest::newRow("zones 2 and 8") << "pickTimeZones"
                                       << "timeZones" << QList<int>{1, 7} << 130;
    }
    void theCheckListsGiveTheSumOfTheTickedBits() {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QList<int>, ticked);
        QFETCH(int, sum);
        Dialog d("");
        QString prompt;
        onNextDialog<CDlgCheckList>([&](CDlgCheckList* list) {
            prompt = list->windowTitle();
            QCOMPARE(list->list()->count(), 8);
            for (int i = 0; i < 8; ++i)
                list->list()->item(i)->setCheckState(ticked.contains(i) ? Qt::Checked
                                                                        : Qt::Unchecked);
            list->accept();
        });
        d.dlg.findChild<QPushButton*>(button)->click();
        QCOMPARE(d.dlg.findChild<QSpinBox*>(field)->value(), sum);
        QVERIFY(prompt.startsWith(u("请选择允许刷卡开门的")));
    }

    void theGeneratorWritesNumberedLines() {
        Dialog d("");
        d.dlg.numbersEdit()->setPlainText("old");
        child<QLineEdit>(&d.dlg, "generatorStart")->setText("7");
        child<QSpinBox>(&d.dlg, "generatorCount")->setValue(3);
        child<QPushButton>(&d.dlg, "generate")->click();
        QCOMPARE(QString::fromStdString(d.dlg.fields().numbers),
                 u("0000000007\r\n0000000008\r\n0000000009\r\n"));
        // No start value: nothing changes.
        child<QLineEdit>(&d.dlg, "generatorStart")->setText("");
        child<QPushButton>(&d.dlg, "generate")->click();
        QCOMPARE(d.dlg.numbersEdit()->toPlainText(), u("0000000007\n0000000008\n0000000009\n"));
    }

    void theConversionButtonsAppendTheOutput_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("appended");
        QTest::addColumn<QString>("message");
        QTest::newRow("forced") << "convertId" << true << "12345\nAB12"
                                << "00012345000000000X\r\n003536120000000004\r\n\r\n"
                                << u("共处理记录2条，转换成功2条，未转换直接使用0条");
        QTest::newRow("long string") << "convertLong" << true << "abc"
                                     << "24160052721020415920\r\n\r\n"
                                     << u("共处理记录1条，转换成功1条，未转换直接使用0条");
    }
    void theConversionButtonsAppendTheOutput() {
        QFETCH(QString, button);
        QFETCH(bool, force);
        QFETCH(QString, input);
        QFETCH(QString, appended);
        QFETCH(QString, message);
        Dialog d("");
        // A typed card without a separator after it stays apart from the appended ones.
        d.dlg.numbersEdit()->setPlainText("1");
        MessageBoxCatcher boxes;
        bool forceEnabled = true;
        onNextDialog<Cconvert2ndDlg>([&](Cconvert2ndDlg* c) {
            QCOMPARE(c->windowTitle(), u("文本转身份证号工具"));
            QVERIFY(c->forceBox()->isChecked());
            forceEnabled = c->forceBox()->isEnabled();
            if (forceEnabled)
                c->forceBox()->setChecked(force);
            c->inputEdit()->setPlainText(input);
            c->accept();
        });
        d.dlg.findChild<QPushButton*>(button)->click();
        QCOMPARE(forceEnabled, button == "convertId");
        QCOMPARE(QString::fromStdString(d.dlg.fields().numbers), "1\r\n" + appended);
        QCOMPARE(boxes.texts(), std::vector<QString>{message});
    }

    void theConversionWithoutInputStaysOpen() {
        Cconvert2ndDlg empty(false);
        MessageBoxCatcher boxes;
        empty.show();
        empty.accept();
        QCOMPARE(boxes.texts(), std::vector<QString>{u("没有数据！")});
        QVERIFY(empty.isVisible());
    }

    // The fake reader blocks 2 s; meanwhile a timer of the window's thread keeps firing, and
    // the number it finally gives is appended.
    void thePolledReaderNeverBlocksTheWindow() {
        std::atomic<bool> reading{false}; // outlives the reads, which join their thread
        LocalCardReads reads;
        reads.setReader([&reading]() -> std::optional<std::string> {
            reading = true;
            std::this_thread::sleep_for(std::chrono::seconds(2));
            reading = false;
            return "110105194912310021";
        });
        Dialog d("[right]\ndefault-enable-localreader=1\n", &reads);
        QVERIFY(child<QCheckBox>(&d.dlg, "localReader")->isChecked());
        int ticksDuringRead = 0;
        QTimer ticker;
        ticker.setInterval(20);
        connect(&ticker, &QTimer::timeout, [&] { ticksDuringRead += reading ? 1 : 0; });
        ticker.start();
        QTRY_VERIFY_WITH_TIMEOUT(d.dlg.numbersEdit()->toPlainText().contains("110105194912310021"),
                                 8000);
        QCOMPARE(QString::fromStdString(d.dlg.fields().numbers), u("110105194912310021\r\n"));
        QVERIFY2(ticksDuringRead > 10, qPrintable(QString::number(ticksDuringRead)));
        d.dlg.reject(); // the next read would block again: the dialog stops asking
    }

    void closingTheDialogDuringAReadIsSafe() {
        LocalCardReads reads;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        reads.setReader([released]() -> std::optional<std::string> {
            released.wait();
            return "4711";
        });
        QSignalSpy finished(&reads, &LocalCardReads::finished);
        {
            Dialog d("", &reads);
            child<QCheckBox>(&d.dlg, "localReader")->click();
            d.dlg.OnTimer(); // the second's tick, without waiting for it
            QVERIFY(reads.running());
        }
        release.set_value();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(0).toString(), u("4711"));
        QVERIFY(!reads.running());
        // Without a reader the box does nothing.
        LocalCardReads none;
        Dialog d("[right]\ndefault-enable-localreader=1\n", &none);
        d.dlg.OnTimer();
        QVERIFY(!none.running());
        QCOMPARE(d.dlg.numbersEdit()->toPlainText(), QString());
    }

    // Without a selected controller each operation says so once; "确定" runs nothing.
    void anOperationWithoutASelectionSaysSoOnce_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("message");
        const QString record = u("请选择要操作的记录！");
        const QString device = u("请选择要操作的设备！");
        QTest::newRow("add") << int(kRightCmdAdd) << record;
        QTest::newRow("remove") << int(kRightCmdRemove) << record;
        QTest::newRow("check") << int(kRightCmdCheck) << record;
        QTest::newRow("clear") << int(kRightCmdClear) << record;
        QTest::newRow("upload") << int(kRightCmdUpload) << record;
        QTest::newRow("swipe") << int(kRightCmdVirtualScan) << record;
        QTest::newRow("get") << int(kRightCmdGetRight) << device;
        QTest::newRow("download") << int(kRightCmdDownload) << device;
        QTest::newRow("ok") << int(kRightCmdNone) << QString();
    }
    void anOperationWithoutASelectionSaysSoOnce() {
        QFETCH(int, command);
        QFETCH(QString, message);
        Window w("rights-none", 0);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        onNextDialog<CDlgRightMan>([command](CDlgRightMan* d) {
            d->numbersEdit()->setPlainText("12");
            if (command == kRightCmdNone)
                d->findChild<QPushButton*>("ok")->click();
            else
                press(d, command);
        });
        w.dlg->rights().OnBnClickedRightMan();
        if (message.isEmpty())
            QVERIFY(boxes.texts().empty());
        else
            QCOMPARE(boxes.texts(), std::vector<QString>{message});
    }

    // "从数据文件取卡号": ids.txt read into a set, and the dialog opens again with its numbers and
    // the values the person had set.
    void numbersFromADataFileReopenTheDialog() {
        Window w("rights-ids", 0);
        writeFile(w.home + "/ids.txt", "5\r\n3\r\n5\r\n");
        QVERIFY(w.start());
        QString reopened;
        QString name;
        onNextDialog<CDlgRightMan>([&](CDlgRightMan* d) {
            child<QLineEdit>(d, "name")->setText("Wang");
            onNextDialog<QInputDialog>([&](QInputDialog* pick) {
                QCOMPARE(pick->windowTitle(), u("选择数据来源"));
                QCOMPARE(pick->comboBoxItems().size(), 4);
                pick->setTextValue(pick->comboBoxItems().at(2));
                onNextDialog<CDlgRightMan>([&](CDlgRightMan* again) {
                    reopened = QString::fromStdString(again->fields().numbers);
                    name = child<QLineEdit>(again, "name")->text();
                    again->reject();
                });
                pick->accept();
            });
            press(d, kRightCmdFromDataFile);
        });
        w.dlg->rights().OnBnClickedRightMan();
        QCOMPARE(reopened, u("3;\r\n5;\r\n"));
        QCOMPARE(name, u("Wang"));
        QVERIFY(w.dlg->rights().rememberedNumbers().empty());
    }

    // An installer's round from the dialog: add three cards with the dialog's fields, check one,
    // download all, remove two; the simulator holds what each step left.
    void anInstallerAddsChecksDownloadsAndRemoves() {
        Window w("rights-round", 1);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        QVERIFY(!w.c().rights->isEnabled());
        QVERIFY(w.searchAndSelect(1));
        QVERIFY(w.c().rights->isEnabled());

        w.inRightsDialog([](CDlgRightMan* d) {
            d->numbersEdit()->setPlainText("11;12\n13");
            child<QSpinBox>(d, "times")->setValue(7);
            child<QSpinBox>(d, "readers")->setValue(16);
            child<QSpinBox>(d, "timeZones")->setValue(6);
            child<QDateEdit>(d, "validFromDate")->setDate(QDate(2026, 3, 4));
            child<QTimeEdit>(d, "validFromTime")->setTime(QTime(8, 30, 0));
            child<QDateEdit>(d, "validToDate")->setDate(QDate(2031, 5, 6));
            child<QTimeEdit>(d, "validToTime")->setTime(QTime(18, 0, 58));
            child<QCheckBox>(d, "parcel")->setChecked(true);
            child<QCheckBox>(d, "userFlag3")->setChecked(true);
            child<QCheckBox>(d, "antiPassback")->setChecked(true);
            child<QSpinBox>(d, "reserved")->setValue(0x1234);
            press(d, kRightCmdAdd);
        });
        QCOMPARE(boxes.texts(), std::vector<QString>{u("操作成功！")});
        JsonValue rights = w.rights();
        QCOMPARE(rights["count"].integer(), 3);
        auto right = rightOfCard(rights, 12);
        QVERIFY(right);
        QCOMPARE(right->remainingCount, 7);
        QCOMPARE(right->readerMask, 16);
        QCOMPARE(right->timeZone, 6);
        QCOMPARE(right->validFromDate, (26 << 9) | (3 << 5) | 4);
        QCOMPARE(right->validFromTime, (8 << 11) | (30 << 5));
        QCOMPARE(right->validToDate, (31 << 9) | (5 << 5) | 6);
        QCOMPARE(right->validToTime, (18 << 11) | 29);
        QCOMPARE(right->flags, kFlagParcel | kFlagUser3 | kFlagAntiPassback | (0x1234u << 7));

        // One card: its reply notice; reader field 255 checks at reader 5 (Wiegand-1).
        w.inRightsDialog([](CDlgRightMan* d) {
            d->numbersEdit()->setPlainText("12");
            child<QSpinBox>(d, "readers")->setValue(255);
            press(d, kRightCmdCheck);
        });
        QTRY_VERIFY_WITH_TIMEOUT(seen(boxes, "权限验证通过！"), 10000);
        QCOMPARE(w.rights()["checksPassed"].integer(), 1);

        w.userPort.opened.clear();
        w.inRightsDialog([](CDlgRightMan* d) {
            d->numbersEdit()->clear();
            press(d, kRightCmdDownload);
        });
        QCOMPARE(w.userPort.opened, std::vector<std::string>{w.home + "/下载权限.txt"});
        const QString downloaded =
            QString::fromStdString(fromGbk(readFile(w.home + "/下载权限.txt")));
        QCOMPARE(downloaded.count("\r\n"), 3);
        for (const char* card : {"卡号=0000000011;", "卡号=0000000012;", "卡号=0000000013;"})
            QVERIFY2(downloaded.contains(u(card)), qPrintable(downloaded));

        w.inRightsDialog([](CDlgRightMan* d) {
            d->numbersEdit()->setPlainText("11;13");
            press(d, kRightCmdRemove);
        });
        QTRY_VERIFY_WITH_TIMEOUT(boxes.texts().size() == 3, 10000);
        rights = w.rights();
        QCOMPARE(rights["count"].integer(), 1);
        QVERIFY(rightOfCard(rights, 12));
        // The window is usable again after each operation.
        QVERIFY(w.c().rights->isEnabled());
    }

    // The other operations of the dialog, and the context menu's copy, each on the simulator.
    void theOtherCommandsReachTheController() {
        Window w("rights-others", 2, "[common]\ndebug=1\n");
        QVERIFY(w.start());
        MessageBoxCatcher boxes(QMessageBox::Yes);
        QVERIFY(w.searchAndSelect(2));
        QCOMPARE(w.c().list->currentItem()->text(2), u("127.0.0.1"));

        // A right file: the card listed twice goes out once, with its last line.
        w.userPort.picked = w.home + "/rights.txt";
        writeFile(*w.userPort.picked, rightLine(21, 3) + rightLine(22, 1) + rightLine(22, 9));
        w.inRightsDialog([](CDlgRightMan* d) { press(d, kRightCmdUpload); });
        QVERIFY(seen(boxes, "操作成功！"));
        JsonValue rights = w.rights();
        QCOMPARE(rights["count"].integer(), 2);
        auto stored = rightOfCard(rights, 22);
        QVERIFY(stored);
        QCOMPARE(stored->readerMask, 9);

        w.inRightsDialog([](CDlgRightMan* d) {
            child<QSpinBox>(d, "startPosition")->setValue(1);
            child<QCheckBox>(d, "searchForward")->setChecked(true);
            press(d, kRightCmdGetRight);
        });
        QTRY_VERIFY_WITH_TIMEOUT(seenStart(boxes, u("获取权限成功，信息=【序号=")), 10000);

        w.inRightsDialog([](CDlgRightMan* d) {
            d->numbersEdit()->setPlainText("21");
            child<QSpinBox>(d, "readers")->setValue(2);
            press(d, kRightCmdVirtualScan);
        });
        QTRY_COMPARE_WITH_TIMEOUT(w.rights()["lastSwipe"]["reader"].integer(), 2, 10000);

        w.inRightsDialog([](CDlgRightMan* d) { press(d, kRightCmdFill1); });
        QTRY_COMPARE_WITH_TIMEOUT(w.rights()["count"].integer(), 3, 10000);

        onNextDialog<CDlgConfigCopy>([](CDlgConfigCopy* d) {
            d->allList()->setCurrentItem(d->allList()->topLevelItem(0));
            d->OnBnClickedAddSource();
            d->allList()->setCurrentItem(d->allList()->topLevelItem(1));
            d->OnBnClickedAddTarget();
            d->accept();
        });
        w.dlg->deviceList().OnNMRClickZ1List(QPoint(1, 1));
        auto* menu = w.dlg->findChild<QMenu*>(u("设备列表右键菜单"));
        QVERIFY(menu);
        QAction* copy = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == u("在设备间复制"))
                copy = a->menu()->actions().value(1);
        QVERIFY(copy && copy->isEnabled());
        QCOMPARE(copy->text(), u("复制权限"));
        copy->trigger();
        delete menu;
        QCOMPARE(storedRights(w.rights("127.0.0.2")), storedRights(w.rights("127.0.0.1")));
        QCOMPARE(w.rights("127.0.0.2")["count"].integer(), 3);

        w.inRightsDialog([](CDlgRightMan* d) { press(d, kRightCmdClear); });
        QVERIFY(seen(boxes, "确定要清除控制器上所有权限吗？"));
        QTRY_COMPARE_WITH_TIMEOUT(w.rights()["count"].integer(), 0, 10000);
        QCOMPARE(w.rights("127.0.0.2")["count"].integer(), 3);
    }
};

QTEST_MAIN(GuiRights)
#include "gui_rights.moc"
