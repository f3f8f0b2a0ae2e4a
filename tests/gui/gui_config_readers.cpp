// The reader dialog on a 28-byte reader setting, the serial-port dialog with the dialog each
// device type opens, the Wiegand dialog, and the display and card-payment device dialogs. Bytes
// are compared with settings built by hand.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>
#include <QtTest>

#include "config_dialog_support.h"
#include "dialogs/dlg_config_card_fee.h"
#include "dialogs/dlg_config_com.h"
#include "dialogs/dlg_config_gen_dev.h"
#include "dialogs/dlg_config_reader.h"
#include "dialogs/dlg_config_wg.h"
#include "gui_test_support.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

using Setting = std::array<std::uint8_t, 28>;

// Direction in, relay 3, report and wait, card format 5 with bits 4..7 = 0xA; slot 1 from
// 12:00:00 to 23:59:58, mode 2, Monday and Wednesday (bit 7 carried), special mode 3 (bits 4..7
// = 0xF), reserved 0xEE; slots 2 and 3 zero but for their reserved bytes.
Setting readerSetting() {
    return {0x01, 0x03, 0x02, 0xA5, 0x00, 0x60, 0x7D, 0xBF, 0x02, 0x85, 0xF3, 0xEE, 0x00, 0x00,
            0x00, 0x00, 0x00, 0x00, 0x00, 0xEE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xEE};
}

// Serial port i at D32 + 36i: baud (4 bytes little-endian), device type, three reserved bytes,
// then the 28-byte setting.
DoorBlock portBlock(std::uint8_t type2 = 0) {
    DoorBlock b = patternBlock();
    put(b, 32, {0x80, 0x25, 0x00, 0x00, 0x01});  // 9600, reader
    put(b, 68, {0xC0, 0x12, 0x00, 0x00, type2}); // 4800
    put(b, 104, {0x00, 0x4B, 0x00, 0x00, 0x00}); // 19200, no device
    put(b, 140, {0x00, 0xC2, 0x01, 0x00, 0x07}); // 115200, relay board
    return b;
}

// "门禁一号" in GBK.
const QByteArray kTitleGbk("\xC3\xC5\xBD\xFB\xD2\xBB\xBA\xC5", 8);

} // namespace

class GuiConfigReaders : public QObject {
    Q_OBJECT
  private slots:
    void readerShowsItsSetting() {
        Setting s = readerSetting();
        CDlgConfigReader dlg(s, QString::fromUtf8("读头配置"));
        QCOMPARE(control<QComboBox>(&dlg, "direction")->currentText(), QString::fromUtf8("进门"));
        QCOMPARE(control<QComboBox>(&dlg, "relay")->currentText(), QString("3"));
        QCOMPARE(control<QComboBox>(&dlg, "relay")->count(), 36);
        QCOMPARE(control<QComboBox>(&dlg, "report")->currentText(),
                 QString::fromUtf8("上报并等待确认"));
        auto* format = control<QComboBox>(&dlg, "cardFormat");
        QCOMPARE(format->currentText(), QString::fromUtf8("10进制截低8位"));
        QCOMPARE(format->itemText(6), QString::fromUtf8("强制转身份证"));
        QCOMPARE(format->itemText(11), QString::fromUtf8("8字节内值当20位卡号(串口)"));
        QCOMPARE(format->count(), 15);
        QCOMPARE(control<QComboBox>(&dlg, "mode1")->currentText(),
                 QString::fromUtf8("设备自主验证"));
        QCOMPARE(control<QComboBox>(&dlg, "mode1")->count(), 16);
        QCOMPARE(control<QComboBox>(&dlg, "special1")->currentText(),
                 QString::fromUtf8("临时卡专用"));
        QCOMPARE(control<QComboBox>(&dlg, "special1")->count(), 8);
        QCOMPARE(control<QTimeEdit>(&dlg, "start1")->time(), QTime(12, 0, 0));
        QCOMPARE(control<QTimeEdit>(&dlg, "end1")->time(), QTime(23, 59, 58));
        const bool days[] = {true, false, true, false, false, false, false};
        for (int d = 0; d < 7; ++d)
            QCOMPARE(control<QCheckBox>(&dlg, QString("slot1Day%1").arg(d + 1))->isChecked(),
                     days[d]);
    }

    void readerEdits_data() {
        editColumns();
        QTest::newRow("direction out") << "direction" << QVariant(2) << 0 << QByteArray("\x02", 1);
        QTest::newRow("relay 36") << "relay" << QVariant(35) << 1 << QByteArray("\x24", 1);
        QTest::newRow("relay 1") << "relay" << QVariant(0) << 1 << QByteArray("\x01", 1);
        QTest::newRow("no report") << "report" << QVariant(0) << 2 << QByteArray("\x00", 1);
        QTest::newRow("card format keeps bits 4..7")
            << "cardFormat" << QVariant(14) << 3 << QByteArray("\xAE", 1);
        QTest::newRow("slot 2 mode") << "mode2" << QVariant(15) << 16 << QByteArray("\x0F", 1);
        QTest::newRow("slot 1 special mode keeps bits 4..7")
            << "special1" << QVariant(7) << 10 << QByteArray("\xF7", 1);
        QTest::newRow("slot 3 start")
            << "start3" << QVariant(QTime(6, 30, 0)) << 20 << QByteArray("\xC0\x33", 2);
        QTest::newRow("slot 2 end")
            << "end2" << QVariant(QTime(1, 2, 4)) << 14 << QByteArray("\x42\x08", 2);
        QTest::newRow("slot 1 Sunday keeps bit 7")
            << "slot1Day7" << QVariant(true) << 9 << QByteArray("\xC5", 1);
        QTest::newRow("slot 1 Monday off")
            << "slot1Day1" << QVariant(false) << 9 << QByteArray("\x84", 1);
        QTest::newRow("slot 3 Thursday")
            << "slot3Day4" << QVariant(true) << 25 << QByteArray("\x08", 1);
    }
    void readerEdits() {
        Setting s = readerSetting();
        editAndCompare<CDlgConfigReader>(s, QString("读头配置"));
    }

    void readerHelpTexts() {
        Setting s = readerSetting();
        CDlgConfigReader dlg(s, QString::fromUtf8("读头配置"));
        QStringList texts;
        for (auto* label : dlg.findChildren<QLabel*>())
            texts << label->text();
        for (const char* help :
             {"本页面用于配置读头，主要有刷此读头对应的通行方向，验证通过后需要启动的继电器（门），"
              "以及是否上报读取到的卡号到电脑。",
              "可以配置每个读头在每天某个时段的工作模式，在不同工作模式下，对刷卡有不同的处理方式。"
              "结束时间小于开始时间表示跨天。",
              "从模式1到模式3依次判断，每天时间以及每周星期必须同时满足，设备才工作在对应的模式下"
              "。"})
            QVERIFY2(texts.contains(QString::fromUtf8(help)), help);
    }

    void portShowsItsEntries() {
        DoorBlock block = portBlock(28);
        CDlgConfigCom dlg(block);
        QCOMPARE(dlg.windowTitle(),
                 QString::fromUtf8("串口配置（读头1-4表示设备上的4个串口设备）"));
        QCOMPARE(control<QComboBox>(&dlg, "baud1")->currentText(), QString("9600"));
        QCOMPARE(control<QComboBox>(&dlg, "baud2")->currentText(), QString("4800"));
        auto* type1 = control<QComboBox>(&dlg, "deviceType1");
        QCOMPARE(type1->count(), 27);
        QCOMPARE(type1->currentText(), QString::fromUtf8("备用1(p)"));
        QCOMPARE(type1->itemText(26), QString::fromUtf8("体重计"));
        QCOMPARE(control<QComboBox>(&dlg, "deviceType2")->currentIndex(), -1); // 28: not listed
        QVERIFY(control<QCheckBox>(&dlg, "asReader1")->isChecked());
        QVERIFY(control<QCheckBox>(&dlg, "asReader2")->isChecked());
        QVERIFY(!control<QCheckBox>(&dlg, "asReader3")->isChecked());
        QCOMPARE(control<QPushButton>(&dlg, "deviceConfig3")->text(),
                 QString::fromUtf8("设备配置(&3)"));
    }

    void portEdits_data() {
        editColumns();
        QTest::newRow("baud from the list")
            << "baud1" << QVariant(4) << 32 << QByteArray("\x00\xC2\x01\x00", 4);
        QTest::newRow("baud typed")
            << "baud3" << QVariant("2400") << 104 << QByteArray("\x60\x09\x00\x00", 4);
        QTest::newRow("device type")
            << "deviceType3" << QVariant(26) << 108 << QByteArray("\x1A", 1);
        QTest::newRow("no device") << "deviceType1" << QVariant(0) << 36 << QByteArray("\x00", 1);
    }
    void portEdits() {
        DoorBlock block = portBlock(28);
        editAndCompare<CDlgConfigCom>(block);
    }

    void portTypeTheListLacksIsKept() {
        DoorBlock block = portBlock(29);
        CDlgConfigCom dlg(block);
        setControl(&dlg, "baud2", "9600");
        pressOk(&dlg);
        QCOMPARE(bytesAt(block, 68, 5), QByteArray("\x80\x25\x00\x00\x1D", 5));
    }

    void deviceConfigOpensTheDialogOfTheType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("title");
        const QString reader = QString::fromUtf8("读头配置：读头2/串口2");
        const QString display = QString::fromUtf8("设备配置");
        for (int t : {1, 2, 3, 8, 10, 16, 18, 19, 20, 22, 23, 24, 25, 28})
            QTest::addRow("type %d: reader", t) << t << "quorvane::gui::CDlgConfigReader" << reader;
        for (int t : {6, 15, 14, 29})
            QTest::addRow("type %d: display", t)
                << t << "quorvane::gui::CDlgConfigGenDev" << display;
        QTest::addRow("type 21: card payment")
            << 21 << "quorvane::gui::CDlgConfigCardFee" << QString::fromUtf8("刷卡扣费设备信息");
        for (int t : {0, 4, 5, 9, 11, 12, 13, 17, 26, 27})
            QTest::addRow("type %d: nothing", t) << t << QString() << QString();
    }
    void deviceConfigOpensTheDialogOfTheType() {
        QFETCH(int, type);
        QFETCH(QString, dialog);
        QFETCH(QString, title);
        DoorBlock block = portBlock(static_cast<std::uint8_t>(type));
        const DoorBlock before = block;
        CDlgConfigCom dlg(block);
        dlg.show();
        DialogWatcher watcher;
        control<QPushButton>(&dlg, "deviceConfig2")->click();
        if (dialog.isEmpty()) {
            QVERIFY(watcher.seen().empty());
        } else {
            QCOMPARE(watcher.seen().size(), std::size_t{1});
            QCOMPARE(watcher.seen()[0].className, dialog);
            QCOMPARE(watcher.seen()[0].title, title);
        }
        pressOk(&dlg);
        QVERIFY(block == before);
    }

    void deviceConfigFollowsTheChosenType() {
        DoorBlock block = portBlock();
        CDlgConfigCom dlg(block);
        dlg.show();
        setControl(&dlg, "deviceType3", 21);
        DialogWatcher watcher;
        control<QPushButton>(&dlg, "deviceConfig3")->click();
        QCOMPARE(watcher.seen().size(), std::size_t{1});
        QCOMPARE(watcher.seen()[0].title, QString::fromUtf8("刷卡扣费设备信息"));
    }

    void relayBoardClearsTheSettingArea() {
        DoorBlock block = portBlock();
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        CDlgConfigCom dlg(block);
        dlg.show();
        control<QPushButton>(&dlg, "deviceConfig4")->click();
        QCOMPARE(boxes.texts(), std::vector<QString>{QString::fromUtf8("配置已经设置！")});
        QVERIFY(block == before); // only the dialog's copy so far
        pressOk(&dlg);
        QCOMPARE(bytesAt(block, 148, 28), QByteArray(28, '\0'));
        QVERIFY(sameOutside(before, block, 148, 28));
    }

    // The reader dialog writes into the serial-port dialog's copy; only the port dialog's OK
    // brings it into the block.
    void readerEditReachesTheBlockThroughThePortDialog_data() {
        QTest::addColumn<bool>("portOk");
        QTest::newRow("port dialog confirmed") << true;
        QTest::newRow("port dialog cancelled") << false;
    }
    void readerEditReachesTheBlockThroughThePortDialog() {
        QFETCH(bool, portOk);
        DoorBlock block = portBlock();
        const DoorBlock before = block;
        CDlgConfigCom dlg(block);
        dlg.show();
        DialogWatcher watcher([](QDialog* reader) {
            setControl(reader, "direction", 2);
            setControl(reader, "start2", QTime(7, 0, 0));
            pressOk(reader);
        });
        control<QPushButton>(&dlg, "deviceConfig1")->click();
        QCOMPARE(watcher.seen().size(), std::size_t{1});
        QCOMPARE(watcher.seen()[0].title, QString::fromUtf8("读头配置：读头1/串口1"));
        portOk ? pressOk(&dlg) : pressCancel(&dlg);
        DoorBlock expected = before;
        if (portOk) {
            expected[40] = 0x02;             // D32 + 8: direction
            put(expected, 52, {0x00, 0x38}); // D32 + 8 + 12: slot 2 start, 07:00:00
        }
        QVERIFY(block == expected);
    }

    void wiegandButtonsOpenTheirReaders_data() {
        QTest::addColumn<int>("wiegand");
        for (int w = 1; w <= 4; ++w)
            QTest::addRow("Wiegand %d", w) << w;
    }
    void wiegandButtonsOpenTheirReaders() {
        QFETCH(int, wiegand);
        DoorBlock block = patternBlock();
        const DoorBlock before = block;
        CDlgConfigWG dlg(block);
        dlg.show();
        auto* button = control<QPushButton>(&dlg, QString("wiegand%1").arg(wiegand));
        QCOMPARE(button->text(),
                 QString::fromUtf8("韦根(&%1) / 读头%2").arg(wiegand).arg(wiegand + 4));
        DialogWatcher watcher([](QDialog* reader) {
            setControl(reader, "relay", 4);
            setControl(reader, "slot3Day6", true);
            pressOk(reader);
        });
        button->click();
        QCOMPARE(watcher.seen().size(), std::size_t{1});
        QCOMPARE(watcher.seen()[0].title,
                 QString::fromUtf8("读头配置：读头%1/韦根%2").arg(wiegand + 4).arg(wiegand));
        pressOk(&dlg);
        const std::size_t base = 176 + 28 * static_cast<std::size_t>(wiegand - 1);
        DoorBlock expected = before;
        expected[base + 1] = 5;
        expected[base + 25] = static_cast<std::uint8_t>(before[base + 25] | 0x20);
        QVERIFY(block == expected);
    }

    void displayShowsItsSetting() {
        Setting s{};
        s[0] = 2;
        s[1] = 0x77;
        s[2] = 6;
        s[3] = 4;
        std::copy(kTitleGbk.begin(), kTitleGbk.end(), s.begin() + 4);
        CDlgConfigGenDev dlg(s);
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("设备配置"));
        QCOMPARE(control<QComboBox>(&dlg, "direction")->currentText(), QString::fromUtf8("出门"));
        QCOMPARE(control<QComboBox>(&dlg, "reader")->currentIndex(), 6);
        QCOMPARE(control<QComboBox>(&dlg, "relay")->currentIndex(), 4);
        QCOMPARE(control<QLineEdit>(&dlg, "title")->text(), QString::fromUtf8("门禁一号"));
    }

    void displayEdits_data() {
        editColumns();
        QTest::newRow("title in GBK, zero padded")
            << "title" << QVariant(QString::fromUtf8("门禁一号")) << 4
            << kTitleGbk + QByteArray(16, '\0');
        QTest::newRow("title of 24 bytes")
            << "title" << QVariant(QString("ABCDEFGHIJKLMNOPQRSTUVWX")) << 4
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWX");
        QTest::newRow("reader 8") << "reader" << QVariant(8) << 2 << QByteArray("\x08", 1);
        QTest::newRow("no relay") << "relay" << QVariant(0) << 3 << QByteArray("\x00", 1);
        QTest::newRow("relay 36") << "relay" << QVariant(36) << 3 << QByteArray("\x24", 1);
        QTest::newRow("direction in") << "direction" << QVariant(1) << 0 << QByteArray("\x01", 1);
    }
    void displayEdits() {
        Setting s{};
        s[1] = 0x77;
        s[3] = 2;
        s[27] = 0x55;
        editAndCompare<CDlgConfigGenDev>(s);
    }

    void displayTitleStopsAt24Bytes() {
        Setting s{};
        CDlgConfigGenDev dlg(s);
        auto* title = control<QLineEdit>(&dlg, "title");
        typeText(title, QString::fromUtf8("一二三四五六七八九十甲乙丙"));
        QCOMPARE(title->text(), QString::fromUtf8("一二三四五六七八九十甲乙"));
    }

    void cardFeeEdits_data() {
        editColumns();
        QTest::newRow("direction") << "direction" << QVariant(2) << 0 << QByteArray("\x02", 1);
        QTest::newRow("door opened after a charge")
            << "openDoor" << QVariant(3) << 3 << QByteArray("\x03", 1);
        QTest::newRow("no door") << "openDoor" << QVariant(0) << 3 << QByteArray("\x00", 1);
    }
    void cardFeeEdits() {
        Setting s{};
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<std::uint8_t>(0x40 + i);
        s[0] = 1;
        s[3] = 9;
        editAndCompare<CDlgConfigCardFee>(s);
    }

    void cancelLeavesTheSetting() {
        Setting s = readerSetting();
        const Setting before = s;
        CDlgConfigReader reader(s, QString::fromUtf8("读头配置"));
        setControl(&reader, "mode3", 9);
        pressCancel(&reader);
        CDlgConfigGenDev display(s);
        setControl(&display, "title", "x");
        pressCancel(&display);
        CDlgConfigCardFee fee(s);
        setControl(&fee, "openDoor", 1);
        pressCancel(&fee);
        QVERIFY(s == before);
    }
};

QTEST_MAIN(GuiConfigReaders)
#include "gui_config_readers.moc"
