// The relay, signal, time-zone and timer-task dialogs: each control lands in its own bytes of
// the door-access block (offsets written out here by hand), nothing else changes, OK writes
// back and Cancel does not.
#include <QComboBox>
#include <QLineEdit>
#include <QTimeEdit>
#include <QtTest>

#include "config_dialog_support.h"
#include "dialogs/dlg_config_relayer.h"
#include "dialogs/dlg_config_signal.h"
#include "dialogs/dlg_config_timer_task.h"
#include "dialogs/dlg_config_timezone.h"
#include "gui_test_support.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

// Relays at D288: state, flags, open time in 10 ms big-endian. Relay 1 is 00 05 01 2C: state
// 0, report 1, no fire linkage, time zone 2 (stored as 1), inside state 0, 3000 ms.
DoorBlock relayBlock() {
    DoorBlock b = patternBlock();
    put(b, 288,
        {0x00, 0x05, 0x01, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x40, 0x00, 0x64, 0x01, 0x00, 0x00,
         0x0A});
    return b;
}

// Signals at D304: type, door, direction, flags (bits 1..7 carried).
DoorBlock signalBlock() {
    DoorBlock b = patternBlock();
    for (std::size_t i = 0; i < 8; ++i)
        put(b, 304 + 4 * i, {0x00, 0x01, 0x00, 0xF0});
    return b;
}

// Time zones at D336: start, end (packed time, little-endian), weekdays, three reserved bytes.
DoorBlock zoneBlock() {
    DoorBlock b = patternBlock();
    for (std::size_t i = 0; i < 8; ++i)
        put(b, 336 + 8 * i, {0x00, 0x00, 0x00, 0x00, 0x01, 0x11, 0x22, 0x33});
    put(b, 336, {0x00, 0x60, 0x7D, 0xBF}); // zone 1: 12:00:00 to 23:59:58
    b[356] = 0x81;                         // zone 3: Monday, and bit 7 carried
    return b;
}

} // namespace

class GuiConfigDoorParts : public QObject {
    Q_OBJECT
  private slots:
    void relayShowsItsEntry() {
        DoorBlock block = relayBlock();
        CDlgConfigRelayer dlg(block);
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("继电器配置"));
        QCOMPARE(control<QComboBox>(&dlg, "state1")->currentText(), QString::fromUtf8("自主控制"));
        QCOMPARE(control<QComboBox>(&dlg, "report1")->currentText(), QString::fromUtf8("上报"));
        QCOMPARE(control<QComboBox>(&dlg, "fire1")->currentText(), QString::fromUtf8("否"));
        QCOMPARE(control<QComboBox>(&dlg, "zone1")->currentText(), QString("2"));
        QCOMPARE(control<QComboBox>(&dlg, "zoneState1")->currentText(),
                 QString::fromUtf8("自主控制"));
        QCOMPARE(control<QLineEdit>(&dlg, "openTime1")->text(), QString("3000"));
        QCOMPARE(control<QComboBox>(&dlg, "state3")->currentText(), QString::fromUtf8("一直闭合"));
        QCOMPARE(control<QComboBox>(&dlg, "zoneState3")->currentText(),
                 QString::fromUtf8("一直断开"));
        QCOMPARE(control<QLineEdit>(&dlg, "openTime4")->text(), QString("100"));
        QCOMPARE(control<QComboBox>(&dlg, "report1")->count(), 3);
    }

    void relayEdits_data() {
        editColumns();
        QTest::newRow("time zone 1 is stored like none")
            << "zone1" << QVariant(1) << 289 << QByteArray("\x01", 1);
        QTest::newRow("time zone 0 is none")
            << "zone1" << QVariant(0) << 289 << QByteArray("\x01", 1);
        QTest::newRow("time zone 2 is stored as 1")
            << "zone2" << QVariant(2) << 293 << QByteArray("\x04", 1);
        QTest::newRow("time zone 8 is stored as 7")
            << "zone2" << QVariant(8) << 293 << QByteArray("\x1C", 1);
        QTest::newRow("report and wait stores bit 0 as 0")
            << "report1" << QVariant(2) << 289 << QByteArray("\x04", 1);
        QTest::newRow("report") << "report2" << QVariant(1) << 293 << QByteArray("\x01", 1);
        QTest::newRow("no report") << "report1" << QVariant(0) << 289 << QByteArray("\x04", 1);
        QTest::newRow("fire linkage") << "fire4" << QVariant(1) << 301 << QByteArray("\x02", 1);
        QTest::newRow("state inside the zone")
            << "zoneState2" << QVariant(2) << 293 << QByteArray("\x80", 1);
        QTest::newRow("default state") << "state2" << QVariant(1) << 292 << QByteArray("\x01", 1);
        QTest::newRow("open time in ms, big-endian tens")
            << "openTime2" << QVariant("3000") << 294 << QByteArray("\x01\x2C", 2);
        QTest::newRow("longest open time")
            << "openTime3" << QVariant("599990") << 298 << QByteArray("\xEA\x5F", 2);
        QTest::newRow("open time below 10 ms")
            << "openTime1" << QVariant("9") << 290 << QByteArray("\x00\x00", 2);
    }
    void relayEdits() {
        DoorBlock block = relayBlock();
        editAndCompare<CDlgConfigRelayer>(block);
    }

    void relayOpenTimeOfTenMinutesIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("600 s") << "600000"
                               << QString::fromUtf8("开门时长指定继电器动作持续的时长，单位为千分之"
                                                    "一秒。值必须小于600000，即600秒。");
        QTest::newRow("beyond the field")
            << "655360" << QString::fromUtf8("开门时长：请输入0到655350之间的整数！");
    }
    void relayOpenTimeOfTenMinutesIsRefused() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        DoorBlock block = relayBlock();
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        CDlgConfigRelayer dlg(block);
        dlg.show();
        setControl(&dlg, "openTime2", text);
        pressOk(&dlg);
        QCOMPARE(boxes.texts(), std::vector<QString>{message});
        QVERIFY(dlg.isVisible());
        QVERIFY(block == before);
    }

    void relayValuesTheListsCannotShowAreKept() {
        DoorBlock block = relayBlock();
        block[288] = 7;    // a state the list does not have
        block[289] = 0x31; // time zone stored as 12, report 1
        CDlgConfigRelayer dlg(block);
        QCOMPARE(control<QComboBox>(&dlg, "state1")->currentIndex(), -1);
        setControl(&dlg, "openTime1", "100");
        pressOk(&dlg);
        QCOMPARE(bytesAt(block, 288, 4), QByteArray("\x07\x31\x00\x0A", 4));
    }

    void cancelLeavesTheBlock() {
        DoorBlock block = relayBlock();
        const DoorBlock before = block;
        CDlgConfigRelayer relays(block);
        setControl(&relays, "zone1", 5);
        setControl(&relays, "openTime1", "50");
        pressCancel(&relays);
        CDlgConfigSignal signals_(block);
        setControl(&signals_, "type1", 3);
        pressCancel(&signals_);
        CDlgConfigTimezone zones(block);
        setControl(&zones, "start1", QTime(1, 2, 4));
        pressCancel(&zones);
        CDlgConfigTimerTask timer(block);
        setControl(&timer, "task", 3);
        pressCancel(&timer);
        QVERIFY(block == before);
    }

    void signalShowsItsEntry() {
        DoorBlock block = signalBlock();
        put(block, 308, {0x04, 0xFF, 0x02, 0x01});
        CDlgConfigSignal dlg(block);
        QCOMPARE(control<QComboBox>(&dlg, "type2")->currentText(),
                 QString::fromUtf8("消防联动开门"));
        QCOMPARE(control<QLineEdit>(&dlg, "door2")->text(), QString("255"));
        QCOMPARE(control<QComboBox>(&dlg, "direction2")->currentText(),
                 QString::fromUtf8("离开/常开类门磁"));
        QVERIFY(control<QCheckBox>(&dlg, "log2")->isChecked());
        QVERIFY(!control<QCheckBox>(&dlg, "log1")->isChecked());
        QCOMPARE(control<QComboBox>(&dlg, "type1")->count(), 13);
    }

    void signalEdits_data() {
        editColumns();
        QTest::newRow("type") << "type3" << QVariant(4) << 312 << QByteArray("\x04", 1);
        QTest::newRow("last type") << "type1" << QVariant(12) << 304 << QByteArray("\x0C", 1);
        QTest::newRow("door 255: every relay")
            << "door8" << QVariant("255") << 333 << QByteArray("\xFF", 1);
        QTest::newRow("direction") << "direction2" << QVariant(2) << 310 << QByteArray("\x02", 1);
        QTest::newRow("log keeps the other flag bits")
            << "log5" << QVariant(true) << 323 << QByteArray("\xF1", 1);
    }
    void signalEdits() {
        DoorBlock block = signalBlock();
        editAndCompare<CDlgConfigSignal>(block);
    }

    void signalDoorAbove255IsRefused() {
        DoorBlock block = signalBlock();
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        CDlgConfigSignal dlg(block);
        dlg.show();
        setControl(&dlg, "door1", "256");
        pressOk(&dlg);
        QCOMPARE(boxes.texts(),
                 std::vector<QString>{QString::fromUtf8("对应门号：请输入0到255之间的整数！")});
        QVERIFY(block == before);
    }

    void zoneShowsItsEntry() {
        DoorBlock block = zoneBlock();
        CDlgConfigTimezone dlg(block);
        QCOMPARE(control<QTimeEdit>(&dlg, "start1")->time(), QTime(12, 0, 0));
        QCOMPARE(control<QTimeEdit>(&dlg, "end1")->time(), QTime(23, 59, 58));
        QVERIFY(control<QCheckBox>(&dlg, "zone3Day1")->isChecked());
        QVERIFY(!control<QCheckBox>(&dlg, "zone3Day7")->isChecked());
    }

    void zoneEdits_data() {
        editColumns();
        QTest::newRow("start") << "start1" << QVariant(QTime(8, 0, 0)) << 336
                               << QByteArray("\x00\x40", 2);
        QTest::newRow("end of day")
            << "end8" << QVariant(QTime(23, 59, 58)) << 394 << QByteArray("\x7D\xBF", 2);
        QTest::newRow("odd second is halved")
            << "start4" << QVariant(QTime(8, 30, 15)) << 360 << QByteArray("\xC7\x43", 2);
        QTest::newRow("Sunday keeps bit 7")
            << "zone3Day7" << QVariant(true) << 356 << QByteArray("\xC1", 1);
        QTest::newRow("Monday off")
            << "zone2Day1" << QVariant(false) << 348 << QByteArray("\x00", 1);
        QTest::newRow("Thursday") << "zone8Day4" << QVariant(true) << 396 << QByteArray("\x09", 1);
    }
    void zoneEdits() {
        DoorBlock block = zoneBlock();
        editAndCompare<CDlgConfigTimezone>(block);
    }

    void zoneTimeTheEditCannotShowIsKept() {
        DoorBlock block = zoneBlock();
        put(block, 344, {0xFF, 0xFF}); // 31:63:62
        CDlgConfigTimezone dlg(block);
        setControl(&dlg, "zone2Day2", true);
        pressOk(&dlg);
        QCOMPARE(bytesAt(block, 344, 5), QByteArray("\xFF\xFF\x00\x00\x03", 5));
    }

    void timerTaskEdits_data() {
        editColumns();
        QTest::newRow("run condition")
            << "condition" << QVariant(15) << 417 << QByteArray("\x9F", 1);
        QTest::newRow("task") << "task" << QVariant(7) << 417 << QByteArray("\xF1", 1);
        QTest::newRow("restart off")
            << "restart" << QVariant(false) << 417 << QByteArray("\x11", 1);
    }
    void timerTaskEdits() {
        DoorBlock block = patternBlock();
        block[417] = 0x91; // restart, task 1, once a day
        editAndCompare<CDlgConfigTimerTask>(block);
    }

    void timerTaskLists() {
        DoorBlock block = patternBlock();
        block[417] = 0x91;
        CDlgConfigTimerTask dlg(block);
        auto* condition = control<QComboBox>(&dlg, "condition");
        auto* task = control<QComboBox>(&dlg, "task");
        QCOMPARE(condition->count(), 16);
        QCOMPARE(condition->currentText(), QString::fromUtf8("一天1次"));
        QCOMPARE(condition->itemText(15), QString::fromUtf8("用户自定义6"));
        QCOMPARE(task->count(), 8);
        QCOMPARE(task->currentText(), QString::fromUtf8("继电器4闭合1秒"));
        QCOMPARE(task->itemText(7), QString::fromUtf8("清除所有非模板权限"));
        QVERIFY(control<QCheckBox>(&dlg, "restart")->isChecked());
        QCOMPARE(control<QCheckBox>(&dlg, "restart")->text(), QString::fromUtf8("重新启动控制器"));
    }
};

QTEST_MAIN(GuiConfigDoorParts)
#include "gui_config_door_parts.moc"
