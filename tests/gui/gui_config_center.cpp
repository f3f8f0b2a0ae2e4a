// "门禁配置": what it shows of a block, which bytes its controls write, the right-format warning
// and buttons, the sub-dialogs editing the dialog's copy, and the backup file. OK writes the
// working block; Cancel leaves it.
#include <memory>

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "config_dialog_support.h"
#include "dialogs/dlg_config_center.h"
#include "dialogs/dlg_config_com.h"
#include "dialogs/dlg_config_reader.h"
#include "dialogs/dlg_config_relayer.h"
#include "dialogs/dlg_config_signal.h"
#include "dialogs/dlg_config_timer_task.h"
#include "dialogs/dlg_config_timezone.h"
#include "dialogs/dlg_config_wg.h"
#include "gui_test_support.h"
#include "infra/settings.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

const QString kMismatch =
    QString::fromUtf8("软件配置的权限格式(%1)和控制器(%2)"
                      "不一致！\n要使用新模式请点击确定保存，清空所有权限后重新启动设备。\n"
                      "可在配置选项\\通用\\系统权限格式 修改软件侧配置！");

const QString kExplain =
    QString::fromUtf8("三个值分别为：\n1.读身份证详细信息时长，证件信息读取不完整时延长此值。\n2."
                      "读取成功后暂停时长，特殊情况下防止设备对指令不响应。\n3.操作检测时长，"
                      "控制所有命令及操作超时时长。");

// Counters: 1234 logs, status 0, 56 rights, report index 77, 5 in, 3 out, 2 inside, limit 100,
// run state 0x01000010. Options 1, 3, 32, 33 and 58..64 set; right mode 2; processing mode 3;
// D413..D423 hold 1..11.
DoorBlock centerBlock() {
    DoorBlock b = patternBlock();
    put(b, 0, {0xD2, 0x04, 0, 0, 0, 0, 0, 0, 56, 0, 0, 0, 77, 0, 0, 0});
    put(b, 20, {5, 0, 3, 0, 2, 0, 100, 0, 0x10, 0x00, 0x00, 0x01});
    put(b, 288,
        {0x00, 0x00, 0x00, 0x64, 0x00, 0x06, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
         0x00}); // relay 2: fire linkage, time zone 2
    put(b, 400, {0x01, 0x00, 0x00, 0xFE, 0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x80});
    put(b, 412, {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    return b;
}

Settings settingsWith(const char* name, int rightMode) {
    std::string dir = scratchDir(name);
    writeFile(dir + "/config.ini", "[common]\nright-mode=" + std::to_string(rightMode) + "\n");
    return Settings(dir);
}

// What the file dialog offered, and whether it took the name.
struct FilePick {
    QStringList filters;
    QString suffix;
    bool taken = false;
};

// Opens the next file dialog on path and confirms it. A dialog that does not take the name is
// cancelled, so that the test fails instead of waiting.
std::shared_ptr<FilePick> pickFile(const QString& path) {
    auto seen = std::make_shared<FilePick>();
    onNextDialog<QFileDialog>([path, seen](QFileDialog* d) {
        seen->filters = d->nameFilters();
        seen->suffix = d->defaultSuffix();
        // Typed into the name field: selectFile leaves a focused field alone.
        auto* name = d->findChild<QLineEdit*>("fileNameEdit");
        if (name)
            name->setText(path);
        static_cast<QDialog*>(d)->accept(); // protected in QFileDialog
        seen->taken = !d->isVisible();
        if (!seen->taken)
            d->reject();
    });
    return seen;
}

const QStringList kBackupFilters{"cfg Files(*.cfg)", "All Files(*)"};

// Opens a sub-dialog of the centre by its button, lets act set it, and confirms it.
template <typename D>
void openPart(CDlgConfigCenter& center, const char* button, std::function<void(D*)> act) {
    onNextDialog<D>([act](D* d) {
        act(d);
        pressOk(d);
    });
    control<QPushButton>(&center, button)->click();
}

QString messageOf(const QSignalSpy& spy, int i) {
    return spy.at(i).at(0).toString();
}

} // namespace

class GuiConfigCenter : public QObject {
    Q_OBJECT
  private slots:
    void showsTheBlock() {
        Settings settings = settingsWith("center-show", 2);
        DoorBlock block = centerBlock();
        CDlgConfigCenter dlg(block, settings);
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("门禁配置"));
        const std::pair<const char*, const char*> shown[] = {
            {"logCount", "1234"},     {"systemStatus", "0-正常"}, {"rightCount", "56"},
            {"reportIndex", "77"},    {"inCount", "5"},           {"outCount", "3"},
            {"insideCount", "2"},     {"insideLimit", "100"},     {"runState", "16777232"},
            {"autoAuthorize", "1"},   {"openDelay", "2"},         {"reservedSetting", "3"},
            {"closeTimeout", "4"},    {"timerTask", "5"},         {"extendedOpen", "6"},
            {"openAlarmOffset", "7"}, {"cardReadTimes1", "8"},    {"cardReadTimes2", "9"},
            {"cardReadTimes3", "10"}, {"lightSound", "11"}};
        for (auto [name, text] : shown)
            QCOMPARE(control<QLineEdit>(&dlg, name)->text(), QString::fromUtf8(text));
        for (const char* counter : {"logCount", "systemStatus", "rightCount", "inCount", "outCount",
                                    "insideCount", "runState"})
            QVERIFY(control<QLineEdit>(&dlg, counter)->isReadOnly());
        for (int option = 1; option <= 57; ++option) {
            const bool set = option == 1 || option == 3 || option == 32 || option == 33;
            auto* box =
                control<QCheckBox>(&dlg, QString("option%1").arg(option, 2, 10, QChar('0')));
            QVERIFY(box);
            QCOMPARE(box->isChecked(), set);
        }
        QVERIFY(!dlg.findChild<QCheckBox*>("option58"));
        QCOMPARE(control<QCheckBox>(&dlg, "option57")->text(),
                 QString::fromUtf8("57.启用Keep-Alive"));
        auto* procMode = control<QComboBox>(&dlg, "procMode");
        QCOMPARE(procMode->count(), 33);
        QCOMPARE(procMode->currentText(), QString::fromUtf8("自助登记有屏显和黑名单"));
        QCOMPARE(procMode->itemText(6), QString::fromUtf8("预留4"));
        QCOMPARE(procMode->itemText(32), QString::fromUtf8("预留30"));
        QVERIFY(control<QRadioButton>(&dlg, "rightFormat2")->isChecked());
        QCOMPARE(control<QRadioButton>(&dlg, "rightFormat0")->text(),
                 QString::fromUtf8("旧格式（已废弃）"));
    }

    // The warning comes once the window is up.
    void rightFormatMismatch_data() {
        QTest::addColumn<int>("software");
        QTest::addColumn<int>("controller");
        QTest::newRow("software 1, controller 2") << 1 << 2;
        QTest::newRow("software 0, controller 1") << 0 << 1;
        QTest::newRow("software 2, controller 0") << 2 << 0;
        QTest::newRow("same format") << 2 << 2;
    }
    void rightFormatMismatch() {
        QFETCH(int, software);
        QFETCH(int, controller);
        Settings settings = settingsWith("center-mismatch", software);
        DoorBlock block = centerBlock();
        block[404] = static_cast<std::uint8_t>(controller);
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        QSignalSpy messages(&dlg, &CDlgConfigCenter::messageShown);
        dlg.show();
        // Runs until everything queued by showing the window (the check among it) is done.
        QEventLoop shown;
        QMetaObject::invokeMethod(&shown, &QEventLoop::quit, Qt::QueuedConnection);
        shown.exec();
        if (software == controller) {
            QCOMPARE(messages.size(), 0);
        } else {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messageOf(messages, 0), kMismatch.arg(software).arg(controller));
            QCOMPARE(boxes.texts(), std::vector<QString>{kMismatch.arg(software).arg(controller)});
            QCOMPARE(boxes.titles().front(), QString::fromUtf8("门禁配置"));
        }

        const DoorBlock before = block;
        pressOk(&dlg);
        QCOMPARE(bytesAt(block, 404, 4), QByteArray(1, char(software)) + QByteArray(3, '\0'));
        QVERIFY(sameOutside(before, block, 404, 4));
    }

    void rightFormatButtonWritesTheSetting_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("old format") << 0;
        QTest::newRow("names, no validity") << 1;
        QTest::newRow("validity, no names") << 2;
    }
    void rightFormatButtonWritesTheSetting() {
        QFETCH(int, format);
        Settings settings = settingsWith("center-format", format == 1 ? 2 : 1);
        DoorBlock block = centerBlock();
        block[404] = static_cast<std::uint8_t>(settings.readInt("common", "right-mode", -1));
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        QSignalSpy changed(&dlg, &CDlgConfigCenter::rightFormatChanged);
        control<QRadioButton>(&dlg, QString("rightFormat%1").arg(format))->click();
        QCOMPARE(boxes.texts(),
                 std::vector<QString>{QString::fromUtf8("默认权限格式已经被修改！")});
        QCOMPARE(settings.readInt("common", "right-mode", -1), format);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), format);
        QCOMPARE(dlg.softwareRightFormat(), format);
        pressOk(&dlg);
        QCOMPARE(block[404], std::uint8_t(format));
    }

    void rightFormatThatCannotBeWrittenStaysAsItWas() {
        Settings settings(scratchDir("center-format-fail") + "/missing");
        DoorBlock block = centerBlock();
        block[404] = 0;
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        QSignalSpy changed(&dlg, &CDlgConfigCenter::rightFormatChanged);
        control<QRadioButton>(&dlg, "rightFormat1")->click();
        QCOMPARE(boxes.texts(), std::vector<QString>{QString::fromUtf8("保存失败！")});
        QCOMPARE(changed.size(), 0);
        QCOMPARE(dlg.softwareRightFormat(), 0);
        QVERIFY(control<QRadioButton>(&dlg, "rightFormat0")->isChecked());
    }

    void edits_data() {
        editColumns();
        auto option = [](int n) { return QString("option%1").arg(n, 2, 10, QChar('0')); };
        QTest::newRow("option 2 on") << option(2) << QVariant(true) << 408 << QByteArray("\x07", 1);
        QTest::newRow("option 1 off")
            << option(1) << QVariant(false) << 408 << QByteArray("\x04", 1);
        QTest::newRow("option 32 off")
            << option(32) << QVariant(false) << 411 << QByteArray("\x00", 1);
        QTest::newRow("option 33 off")
            << option(33) << QVariant(false) << 400 << QByteArray("\x00", 1);
        QTest::newRow("option 40 on")
            << option(40) << QVariant(true) << 400 << QByteArray("\x81", 1);
        QTest::newRow("option 56 on")
            << option(56) << QVariant(true) << 402 << QByteArray("\x80", 1);
        QTest::newRow("option 57 on, 58..64 kept")
            << option(57) << QVariant(true) << 403 << QByteArray("\xFF", 1);
        QTest::newRow("report index")
            << "reportIndex" << QVariant("4096") << 12 << QByteArray("\x00\x10\x00\x00", 4);
        QTest::newRow("report index -1")
            << "reportIndex" << QVariant("-1") << 12 << QByteArray("\xFF\xFF\xFF\xFF", 4);
        QTest::newRow("inside limit")
            << "insideLimit" << QVariant("65535") << 26 << QByteArray("\xFF\xFF", 2);
        QTest::newRow("processing mode")
            << "procMode" << QVariant(32) << 412 << QByteArray("\x20", 1);
        QTest::newRow("automatic grant")
            << "autoAuthorize" << QVariant("12") << 413 << QByteArray("\x0C", 1);
        QTest::newRow("open delay")
            << "openDelay" << QVariant("255") << 414 << QByteArray("\xFF", 1);
        QTest::newRow("reserved setting")
            << "reservedSetting" << QVariant("0") << 415 << QByteArray("\x00", 1);
        QTest::newRow("close timeout")
            << "closeTimeout" << QVariant("30") << 416 << QByteArray("\x1E", 1);
        QTest::newRow("timer task")
            << "timerTask" << QVariant("145") << 417 << QByteArray("\x91", 1);
        QTest::newRow("extended open")
            << "extendedOpen" << QVariant("17") << 418 << QByteArray("\x11", 1);
        QTest::newRow("door-open alarm")
            << "openAlarmOffset" << QVariant("9") << 419 << QByteArray("\x09", 1);
        QTest::newRow("read time 1")
            << "cardReadTimes1" << QVariant("50") << 420 << QByteArray("\x32", 1);
        QTest::newRow("read time 2")
            << "cardReadTimes2" << QVariant("51") << 421 << QByteArray("\x33", 1);
        QTest::newRow("read time 3")
            << "cardReadTimes3" << QVariant("52") << 422 << QByteArray("\x34", 1);
        QTest::newRow("light and sound")
            << "lightSound" << QVariant("200") << 423 << QByteArray("\xC8", 1);
    }
    void edits() {
        Settings settings = settingsWith("center-edits", 2);
        DoorBlock block = centerBlock();
        editAndCompare<CDlgConfigCenter>(block, settings);
    }

    void cancelLeavesTheWorkingBlock() {
        Settings settings = settingsWith("center-cancel", 1);
        DoorBlock block = centerBlock();
        const DoorBlock before = block;
        CDlgConfigCenter dlg(block, settings);
        setControl(&dlg, "option05", true);
        setControl(&dlg, "closeTimeout", "99");
        setControl(&dlg, "procMode", 1);
        pressCancel(&dlg);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(block == before);
    }

    void badEntryKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("byte setting")
            << "autoAuthorize"
            << "256" << QString::fromUtf8("自动授权：请输入0到255之间的整数！");
        QTest::newRow("inside limit")
            << "insideLimit"
            << "65536" << QString::fromUtf8("滞留限制：请输入0到65535之间的整数！");
        QTest::newRow("empty report index")
            << "reportIndex"
            << "" << QString::fromUtf8("上报索引：请输入-2147483648到2147483647之间的整数！");
        QTest::newRow("read time")
            << "cardReadTimes2"
            << "300" << QString::fromUtf8("读取块号：请输入0到255之间的整数！");
    }
    void badEntryKeepsTheDialogOpen() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Settings settings = settingsWith("center-bad", 2);
        DoorBlock block = centerBlock();
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        dlg.show();
        setControl(&dlg, control, text);
        pressOk(&dlg);
        QCOMPARE(boxes.texts(), std::vector<QString>{message});
        QVERIFY(dlg.isVisible());
        QVERIFY(block == before);
    }

    void letterDoesNotEnterANumber() {
        Settings settings = settingsWith("center-letters", 2);
        DoorBlock block = centerBlock();
        CDlgConfigCenter dlg(block, settings);
        setControl(&dlg, "closeTimeout", "1a2");
        QCOMPARE(control<QLineEdit>(&dlg, "closeTimeout")->text(), QString("12"));
    }

    void explainAndStateDetail() {
        Settings settings = settingsWith("center-texts", 2);
        DoorBlock block = centerBlock();
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        control<QPushButton>(&dlg, "explain")->click();
        control<QPushButton>(&dlg, "stateDetail")->click();
        const QString state = QString::fromUtf8(
            "TCP/WEB网络连通:是;WEBSOCK连通:否\n系统有故障:否\n 串口设备在线:否,否,否,否,\n"
            "韦根设备在线:否,否,否,否,\n门已打开:是,否,否,否,\n门未关报警:否,否,否,否\n"
            "信号状态:否,否,否,否,否,否,否,否\n声音设备开:否\n");
        QCOMPARE(boxes.texts(), (std::vector<QString>{kExplain, state}));
    }

    // Each sub-dialog edits the centre's copy: its OK alone does not reach the working block.
    void subDialogsEditTheCopy_data() {
        QTest::addColumn<bool>("centerOk");
        QTest::newRow("centre confirmed") << true;
        QTest::newRow("centre cancelled") << false;
    }
    void subDialogsEditTheCopy() {
        QFETCH(bool, centerOk);
        Settings settings = settingsWith("center-parts", 2);
        DoorBlock block = centerBlock();
        const DoorBlock before = block;
        CDlgConfigCenter dlg(block, settings);
        dlg.show();
        openPart<CDlgConfigRelayer>(dlg, "relayConfig", [](auto* d) { setControl(d, "zone2", 1); });
        openPart<CDlgConfigSignal>(dlg, "signalConfig", [](auto* d) { setControl(d, "type8", 2); });
        openPart<CDlgConfigTimezone>(dlg, "zoneConfig",
                                     [](auto* d) { setControl(d, "end3", QTime(18, 0, 0)); });
        openPart<CDlgConfigCom>(dlg, "comConfig", [](auto* d) { setControl(d, "baud4", 0); });
        onNextDialog<CDlgConfigReader>([](CDlgConfigReader* r) {
            setControl(r, "report", 1);
            pressOk(r);
        });
        openPart<CDlgConfigWG>(dlg, "wgConfig",
                               [](auto* d) { control<QPushButton>(d, "wiegand2")->click(); });
        QVERIFY(block == before);
        centerOk ? pressOk(&dlg) : pressCancel(&dlg);

        DoorBlock expected = before;
        if (centerOk) {
            expected[293] = 0x02;                         // relay 2 zone none
            expected[332] = 2;                            // signal 8 type
            put(expected, 354, {0x00, 0x90});             // zone 3 end 18:00
            put(expected, 140, {0x80, 0x25, 0x00, 0x00}); // port 4 at 9600
            expected[204 + 2] = 1;                        // Wiegand 2 report
        }
        QVERIFY(block == expected);
    }

    void timerTaskButtonStartsFromTheEdit() {
        Settings settings = settingsWith("center-timer", 2);
        DoorBlock block = centerBlock();
        CDlgConfigCenter dlg(block, settings);
        setControl(&dlg, "timerTask", "1");
        int conditionShown = -1;
        onNextDialog<CDlgConfigTimerTask>([&](CDlgConfigTimerTask* d) {
            conditionShown = control<QComboBox>(d, "condition")->currentIndex();
            setControl(d, "task", 7);
            pressOk(d);
        });
        control<QPushButton>(&dlg, "timerTaskConfig")->click();
        QCOMPARE(conditionShown, 1);
        QCOMPARE(control<QLineEdit>(&dlg, "timerTask")->text(), QString("113"));
        pressOk(&dlg);
        QCOMPARE(block[417], std::uint8_t(0x71));
    }

    void backupSavesWhatTheDialogShows() {
        Settings settings = settingsWith("center-backup", 2);
        const std::string dir = scratchDir("center-backup-files");
        DoorBlock block = centerBlock();
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        setControl(&dlg, "procMode", 7);
        auto pick = pickFile(QString::fromStdString(dir + "/door"));
        control<QPushButton>(&dlg, "backup")->click();
        QVERIFY(pick->taken);
        QCOMPARE(pick->filters, kBackupFilters);
        QCOMPARE(pick->suffix, QString("cfg"));
        QCOMPARE(boxes.texts(), std::vector<QString>{QString::fromUtf8("保存成功！")});
        std::string file = readFile(dir + "/door.cfg");
        DoorBlock expected = before;
        expected[412] = 7;
        QCOMPARE(QByteArray::fromStdString(file), bytesAt(expected, 32, 392));
        QVERIFY(block == before);
    }

    void backupLoad_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("message");
        const QString refused = QString::fromUtf8("读取失败或者文件大小不匹配！");
        QTest::newRow("391 bytes") << 391 << refused;
        QTest::newRow("393 bytes") << 393 << refused;
        QTest::newRow("empty") << 0 << refused;
        QTest::newRow("392 bytes")
            << 392 << QString::fromUtf8("从文件加载配置成功，请检查配置并点击确定按钮保存！");
    }
    void backupLoad() {
        QFETCH(int, size);
        QFETCH(QString, message);
        Settings settings = settingsWith("center-load", 2);
        const std::string path = scratchDir("center-load-files") + "/door.cfg";
        std::string file(static_cast<std::size_t>(size), '\0');
        for (std::size_t i = 0; i < file.size(); ++i)
            file[i] = static_cast<char>(i * 3 + 1);
        if (size == 392)
            file[412 - 32] = 9; // processing mode
        writeFile(path, file);

        DoorBlock block = centerBlock();
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        setControl(&dlg, "insideLimit", "7"); // outside the file: kept
        auto pick = pickFile(QString::fromStdString(path));
        control<QPushButton>(&dlg, "restore")->click();
        QVERIFY(pick->taken);
        QCOMPARE(pick->filters, kBackupFilters);
        QCOMPARE(boxes.texts(), std::vector<QString>{message});
        QVERIFY(block == before);
        pressOk(&dlg);

        DoorBlock expected = before;
        put(expected, 26, {7, 0});
        if (size == 392) {
            QCOMPARE(control<QComboBox>(&dlg, "procMode")->currentIndex(), 9);
            std::copy(file.begin(), file.end(), expected.begin() + 32);
            put(expected, 404, {2, 0, 0, 0}); // the software's right format
        }
        QCOMPARE(bytesAt(block, 0, 424), bytesAt(expected, 0, 424));
    }

    void cancelledFilePickDoesNothing() {
        Settings settings = settingsWith("center-nofile", 2);
        DoorBlock block = centerBlock();
        MessageBoxCatcher boxes;
        CDlgConfigCenter dlg(block, settings);
        onNextDialog<QFileDialog>([](QFileDialog* d) { d->reject(); });
        control<QPushButton>(&dlg, "restore")->click();
        onNextDialog<QFileDialog>([](QFileDialog* d) { d->reject(); });
        control<QPushButton>(&dlg, "backup")->click();
        QVERIFY(boxes.texts().empty());
    }
};

QTEST_MAIN(GuiConfigCenter)
#include "gui_config_center.moc"
