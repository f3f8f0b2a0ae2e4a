// The door-access dialogs: each control writes its field of the configuration table (the table
// below follows the documented dialog layouts) on OK, nothing on Cancel; and their own buttons.
#include <QFileDialog>

#include "config/door_config.h"
#include "dialogs/dlg_config_card_fee.h"
#include "dialogs/dlg_config_center.h"
#include "dialogs/dlg_config_com.h"
#include "dialogs/dlg_config_gen_dev.h"
#include "dialogs/dlg_config_reader.h"
#include "dialogs/dlg_config_relayer.h"
#include "dialogs/dlg_config_signal.h"
#include "dialogs/dlg_config_timer_task.h"
#include "dialogs/dlg_config_timezone.h"
#include "dialogs/dlg_config_wg.h"
#include "gui_test_support.h"
#include "model/config_table.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

// The dialog of this name over the block (the 28-byte dialogs over its first 28 bytes).
std::unique_ptr<QDialog> openDialog(const QString& name, DoorBlock& block, Settings& settings) {
    MutableBytes b(block), setting(block.data(), 28);
    const std::map<QString, std::function<QDialog*()>> dialogs = {
        {"center", [&] { return new CDlgConfigCenter(block, settings); }},
        {"relay", [&] { return new CDlgConfigRelayer(b); }},
        {"signal", [&] { return new CDlgConfigSignal(b); }},
        {"zone", [&] { return new CDlgConfigTimezone(b); }},
        {"timer", [&] { return new CDlgConfigTimerTask(b); }},
        {"com", [&] { return new CDlgConfigCom(b); }},
        {"wiegand", [&] { return new CDlgConfigWG(b); }},
        {"reader", [&] { return new CDlgConfigReader(setting, u("读头配置")); }},
        {"display", [&] { return new CDlgConfigGenDev(setting); }},
        {"cardFee", [&] { return new CDlgConfigCardFee(setting); }}};
    return std::unique_ptr<QDialog>(dialogs.at(name)());
}

Settings settingsAt(const char* name) {
    std::string dir = scratchDir(name);
    writeFile(dir + "/config.ini", "[common]\nright-mode=0\n");
    return Settings(dir);
}

// A control set as a person sets it, and its field's value as a person writes it.
struct Binding {
    const char *dialog, *control;
    QVariant value;
    const char* key;
    int element;
    const char* text;
};

const std::vector<Binding>& bindings() {
    static const std::vector<Binding> table = {
        {"center", "option01", true, "optionsLow", 0, "1"},
        {"center", "option57", true, "optionsHigh", 24, "1"},
        {"center", "reportIndex", "4096", "reportIndex", 0, "4096"},
        {"center", "procMode", 32, "procMode", 0, "32"},
        {"center", "autoAuthorize", "12", "autoAuthorize", 0, "12"},
        {"center", "cardReadTimes3", "52", "cardReadTimes", 2, "52"},
        {"relay", "state2", 1, "relay.state", 1, "1"},
        {"relay", "report3", 1, "relay.report", 2, "1"},
        {"relay", "zone2", 2, "relay.zone", 1, "1"}, // zone n is stored as n - 1
        {"relay", "zoneState2", 2, "relay.zoneState", 1, "2"},
        {"relay", "openTime3", "3000", "relay.openTime", 2, "3000"},
        {"signal", "type3", 4, "signal.type", 2, "4"},
        {"signal", "door8", "255", "signal.door", 7, "255"},
        {"signal", "log5", true, "signal.log", 4, "1"},
        {"zone", "start1", QTime(8, 0, 0), "timeZone.start", 0, "08:00:00"},
        {"zone", "zone3Day7", true, "timeZone.weekdays", 2, "1000000"}, // Sunday first
        {"timer", "condition", 15, "timerTask.condition", 0, "15"},
        {"timer", "restart", true, "timerTask.restart", 0, "1"},
        {"com", "baud1", 4, "serialPort.baud", 0, "115200"},
        {"com", "baud3", "2400", "serialPort.baud", 2, "2400"},
        {"com", "deviceType4", 26, "serialPort.deviceType", 3, "26"},
        {"reader", "direction", 2, "reader.direction", 0, "2"},
        {"reader", "relay", 36, "reader.relay", 0, "36"},
        {"reader", "mode2", 15, "reader.slot.mode", 1, "15"},
        {"reader", "start3", QTime(6, 30, 0), "reader.slot.start", 2, "06:30:00"},
        {"reader", "slot3Day4", true, "reader.slot.weekdays", 2, "0001000"},
        {"display", "direction", 1, "device.direction", 0, "1"},
        {"display", "relay", 36, "device.relay", 0, "36"},
        {"display", "title", u("门禁一号"), "device.title", 0, "门禁一号"},
        {"cardFee", "direction", 2, "device.direction", 0, "2"},
        {"cardFee", "openDoor", 3, "device.relay", 0, "3"},
    };
    return table;
}

// A button of an outer dialog, the title of the part it opens for serial port 2 of this device
// type, and a list of the part set to an item a zero byte does not show, at offset.
struct Part {
    const char *name, *outer, *button;
    int type;
    const char *title, *edited;
    int item, offset;
};

const std::vector<Part>& parts() {
    static const std::vector<Part> table = {
        {"relays", "center", "relayConfig", 0, "继电器配置", "state1", 2, 288},
        {"signals", "center", "signalConfig", 0, "信号检测配置", "type1", 2, 304},
        {"ports", "center", "comConfig", 0, "串口配置（读头1-4表示设备上的4个串口设备）", "baud1",
         0, 32},
        {"Wiegand 2", "wiegand", "wiegand2", 0, "读头配置：读头6/韦根2", "relay", 1, 205},
        {"port reader", "com", "deviceConfig2", 1, "读头配置：读头2/串口2", "direction", 2, 76},
        {"port display", "com", "deviceConfig2", 6, "设备配置", "direction", 2, 76},
        {"port card payment", "com", "deviceConfig2", 21, "刷卡扣费设备信息", "direction", 2, 76},
        {"port relay board", "com", "deviceConfig2", 7, "", "", 0, 79}, // cleared
        {"port without device", "com", "deviceConfig2", 0, "", "", 0, 0},
    };
    return table;
}

} // namespace

class GuiConfigDialogs : public QObject {
    Q_OBJECT
  private slots:
    void eachControlWritesItsField_data() {
        addRows(bindings(),
                [](const Binding& b) { return QByteArray(b.dialog) + " " + b.control; });
    }
    void eachControlWritesItsField() {
        const Binding& b = fetchRow(bindings());
        Settings settings = settingsAt("config-bindings");
        DoorBlock block{};
        for (bool ok : {false, true}) {
            auto d = openDialog(b.dialog, block, settings);
            QVERIFY(setControl(d.get(), b.control, b.value));
            press(d.get(), ok);
            QCOMPARE(d->result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        }
        DoorBlock expected{};
        const ConfigField& field = configField(b.key);
        const std::size_t size = field.block == ConfigBlock::Door ? 424 : 28;
        QVERIFY(writeText(field, MutableBytes(expected.data(), size), b.element, b.text));
        QVERIFY(block == expected);
    }

    // A number out of range (the shared check) and the relay's own limit.
    void aBadEntryKeepsTheDialogOpen() {
        Settings settings = settingsAt("config-refusal");
        for (auto [dialog, control, text, message] :
             {std::array<const char*, 4>{"center", "autoAuthorize", "256",
                                         "自动授权：请输入0到255之间的整数！"},
              {"relay", "openTime2", "600000",
               "继电器2的开门时长必须小于600000（千分之一秒），即600秒！"}}) {
            DoorBlock block{};
            MessageBoxCatcher boxes;
            auto d = openDialog(dialog, block, settings);
            d->show();
            setControl(d.get(), control, text);
            press(d.get());
            QCOMPARE(boxes.texts(), std::vector<QString>{u(message)});
            QVERIFY(d->isVisible() && block == DoorBlock{});
        }
    }

    // A value the list or the time edit cannot show stays as the controller had it.
    void valuesTheControlsCannotShowAreKept() {
        Settings settings = settingsAt("config-kept");
        DoorBlock block{};
        block[288] = 7;                 // relay 1: no such state
        block[36] = 29;                 // port 1: no such device type
        block[344] = block[345] = 0xFF; // zone 2 starts at 31:63:62
        // Relay 3 holds 655 s from the controller: nobody typed it, so it does not block OK.
        writeNumber(configField("relay.openTime"), block, 2, 65500);
        const DoorBlock before = block;
        for (const char* name : {"relay", "com", "zone"}) {
            auto d = openDialog(name, block, settings);
            press(d.get());
        }
        QVERIFY(block == before);
        auto reader = openDialog("reader", block, settings);
        QCOMPARE(reader->findChild<QComboBox*>("relay")->currentText(), u("0"));
    }

    // A button opens its part on the outer dialog's copy (a serial port's "设备配置" the dialog
    // its device type needs); only the outer OK brings the edit into the block.
    void aButtonOpensItsPartOnTheCopy_data() {
        addRows(parts(), [](const Part& p) { return QByteArray(p.name); });
    }
    void aButtonOpensItsPartOnTheCopy() {
        const Part& p = fetchRow(parts());
        Settings settings = settingsAt("config-parts");
        DoorBlock block{};
        block[72] = static_cast<std::uint8_t>(p.type);
        block[79] = 5;
        const DoorBlock before = block;
        MessageBoxCatcher boxes;
        auto d = openDialog(p.outer, block, settings);
        d->show();
        QString shown;
        QTimer watch; // only while the button runs: some open nothing
        connect(&watch, &QTimer::timeout, [&] {
            auto* part = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!part || part->inherits("QMessageBox"))
                return;
            shown = part->windowTitle();
            setControl(part, p.edited, p.item);
            press(part);
        });
        watch.start(10);
        d->findChild<QPushButton*>(p.button)->click();
        QCOMPARE(shown, u(p.title));
        QVERIFY(block == before);
        press(d.get());
        QCOMPARE(block[std::size_t(p.offset)] != before[std::size_t(p.offset)], p.offset != 0);
        QCOMPARE(boxes.seen("配置已经设置！"), p.type == 7);
    }

    // "从文件加载配置(&R)": the picked file's settings shown, the block changed only by OK.
    void aBackupFileLoadsIntoTheDialog() {
        Settings settings = settingsAt("config-load");
        const std::string path = scratchDir("config-load-file") + "/door.cfg";
        std::string file(392, '\0');
        file[412 - 32] = 9; // processing mode
        writeFile(path, file);
        DoorBlock block{};
        MessageBoxCatcher boxes; // the load's message (its text is the record file's test)
        CDlgConfigCenter dlg(block, settings);
        onNextDialog<QFileDialog>([&](QFileDialog* d) {
            d->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path));
            static_cast<QDialog*>(d)->accept();
        });
        dlg.findChild<QPushButton*>("restore")->click();
        QCOMPARE(dlg.findChild<QComboBox*>("procMode")->currentIndex(), 9);
        QVERIFY(block == DoorBlock{});
        press(&dlg);
        QCOMPARE(block[412], std::uint8_t(9));
    }
};

QTEST_MAIN(GuiConfigDialogs)
#include "gui_config_dialogs.moc"
