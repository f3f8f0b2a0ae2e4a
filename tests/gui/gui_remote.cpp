// The remote-command area of the main window against quorvane-sim: the relay submenus, the
// door buttons, open on all controllers, the clock, restart, clear log and self test; the test
// dialog's bits; the IP allocation choices and the PPPoE dialog; the RS-485 dialog over a socat
// pseudo-terminal pair.
#include <future>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include "app/device_list_group.h"
#include "app/device_list_view.h"
#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "app/remote_handlers.h"
#include "child_process.h"
#include "dialogs/dlg_pppoe.h"
#include "dialogs/dlg_set485_id.h"
#include "dialogs/dlg_test_flag.h"
#include "gui_test_support.h"
#include "platform/mw_sync_com.h"
#include "remote/network_identity.h"
#include "remote/remote_choices.h"
#include "remote/remote_commands.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"
#include "socat_pty.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

constexpr const char* kController = "127.0.0.2";

// The window on a program directory whose device port is the simulator's, broadcasting to
// 127.255.255.255 from 127.0.0.1 (the settings of makeGuiHome otherwise).
std::string simHome(const std::string& name, int port) {
    std::string home = makeGuiHome(name);
    Settings s(home);
    s.writeString("net", "common-dev-admin-port", std::to_string(port));
    s.writeString("net", "common-broadcast-address", "2147483647");
    return home;
}

struct Window {
    explicit Window(const std::string& home) : session(home, port), dlg(session, port) {
        QVERIFY(dlg.OnInitDialog());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    }
    const MainWindowControls& c() const { return dlg.controls(); }
    // Lists the record and selects its row.
    void select(const DeviceUIInfo& record) {
        session.devices().append(record);
        dlg.showList();
        c().list->setCurrentItem(c().list->topLevelItem(0));
    }
    QtUserPort port;
    ToolSession session;
    CQuorvaneDlg dlg;
};

struct Sim {
    Sim()
        : port(testPort(40)), dumpFile(scratchDir("gui-remote-dump") + "/dump.json"),
          process({simPath(), "--port", std::to_string(port), "--count", "3", "--dump", dumpFile}) {
        ready = process.waitForLine("ready");
    }
    JsonValue controller(const std::string& address) {
        auto d = requestSimDump(process, dumpFile);
        return d ? simController(*d, address) : JsonValue();
    }
    int port;
    std::string dumpFile;
    ChildProcess process;
    bool ready = false;
};

// The controller's own record, as its device-information reply gives it.
std::optional<DeviceUIInfo> recordOf(ToolSession& session, const char* ip) {
    return session.refreshDevice(ip, 5000);
}

} // namespace

class GuiRemote : public QObject {
    Q_OBJECT
  private slots:
    void testDialogSetsEachBit_data() {
        QTest::addColumn<int>("bit");
        for (const TestFlag& f : kTestFlags)
            QTest::newRow(QString("bit %1").arg(f.bit).toUtf8()) << f.bit;
    }
    void testDialogSetsEachBit() {
        QFETCH(int, bit);
        CDlgTestFlag dlg;
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("设备测试"));
        QCOMPARE(dlg.flags(), 0u); // every box starts clear
        QCheckBox* box = dlg.box(bit);
        QVERIFY(box);
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        // On the box itself: a row wider than its caption does not take a click past the text.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(dlg.startButton()->text(), QString::fromUtf8("开始测试(&T)"));
        dlg.startButton()->click();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg.flags(), 1u << bit);
    }

    void testDialogSetsEveryTickedBitTogether() {
        CDlgTestFlag dlg;
        for (const TestFlag& f : kTestFlags)
            dlg.box(f.bit)->setChecked(true);
        QCOMPARE(dlg.flags(), 0x0FFF000Fu);
        dlg.box(3)->setChecked(false);
        QCOMPARE(dlg.flags(), 0x0FFF0007u);
    }

    // Every item of the four relay submenus, triggered in the window's context menu, switches
    // its relay in the simulator.
    void everyRelayMenuItemReachesItsRelay() {
        Sim sim;
        QVERIFY(sim.ready);
        Window w(simHome("gui-remote-menu", sim.port));
        auto record = recordOf(w.session, kController);
        QVERIFY(record);
        w.select(*record);
        MessageBoxCatcher boxes;
        const char* modes[] = {"pulse",         "pulse", "pulse",     "pulse",   "held-energised",
                               "held-released", "auto",  "energised", "released"};
        const int pulseMs[] = {500, 3000, 10000, 30000};
        for (int c = 0; c < 9; ++c) {
            w.dlg.deviceList().OnNMRClickZ1List(QPoint(1, 1));
            auto* menu = w.dlg.findChild<QMenu*>(QString::fromUtf8("设备列表右键菜单"));
            QVERIFY(menu);
            for (int r = 0; r < 4; ++r) {
                QMenu* relay = nullptr;
                for (QAction* a : menu->actions())
                    if (a->text() == QString::fromUtf8(kRelayMenuCaptions[r]))
                        relay = a->menu();
                QVERIFY(relay);
                QAction* item = relay->actions().value(c);
                QVERIFY(item && item->isEnabled());
                item->trigger();
            }
            delete menu;
            // Each reply shows its notice; all four came before the state is read.
            QTRY_COMPARE(boxes.texts().size(), static_cast<std::size_t>(4 * (c + 1)));
            const JsonValue relays = sim.controller(kController)["remote"]["relays"];
            for (int r = 0; r < 4; ++r) {
                QCOMPARE(QString::fromStdString(relays[r]["mode"].str()), QString(modes[c]));
                if (c < 4)
                    QCOMPARE(relays[r]["openMs"].integer(), static_cast<std::int64_t>(pulseMs[c]));
                QCOMPARE(relays[r]["commands"].integer(), static_cast<std::int64_t>(c + 1));
            }
        }
        for (const QString& t : boxes.texts())
            QCOMPARE(t, QString::fromUtf8("操作成功！"));
    }

    void openDoorTakesTheDoorListAndTheOpenTime() {
        Sim sim;
        QVERIFY(sim.ready);
        Window w(simHome("gui-remote-open", sim.port));
        auto record = recordOf(w.session, kController);
        QVERIFY(record);
        w.select(*record);
        MessageBoxCatcher boxes;
        QCOMPARE(w.c().relay->count(), 164);
        QVERIFY(w.c().openDoor->isEnabled());
        // Door 6 (an extension relay) for 1234 ms: the remainder below 10 ms is dropped.
        w.c().relay->setCurrentIndex(5);
        w.c().openTime->setText("1234");
        w.c().openDoor->click();
        QTRY_COMPARE(boxes.texts().size(), 1u);
        QCOMPARE(boxes.texts()[0], QString::fromUtf8("操作成功！"));
        JsonValue remote = sim.controller(kController)["remote"];
        QCOMPARE(QString::fromStdString(remote["payloads"]["16"].str()), QString("06007b"));
        QCOMPARE(remote["extensionRelays"][0]["door"].integer(), 6);
        QCOMPARE(remote["extensionRelays"][0]["openMs"].integer(), 1230);
        // A time the field cannot send, or no number: the message, and nothing goes out.
        for (const char* text : {"655351", "abc", ""}) {
            w.c().openTime->setText(text);
            w.c().openDoor->click();
        }
        QTRY_COMPARE(boxes.texts().size(), 4u);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(boxes.texts()[static_cast<std::size_t>(i)],
                     QString::fromUtf8(kOpenTimeRangeText));
        QCOMPARE(sim.controller(kController)["requests"]["16"].integer(), 1);
    }

    void directOpeningCanBeSwitchedOff() {
        Window w(makeGuiHome("gui-remote-direct", "[common]\ndirect-open-enabled=0\n"));
        DeviceUIInfo r;
        r.ip = kController;
        w.select(r);
        QVERIFY(!w.c().openDoor->isEnabled() && !w.c().openDoorAll->isEnabled());
        QVERIFY(w.c().readTime->isEnabled() && w.c().selfTest->isEnabled() &&
                w.c().clearLog->isEnabled() && w.c().set485Id->isEnabled());
    }

    void openAllFollowsTheAnswer() {
        Sim sim;
        QVERIFY(sim.ready);
        Window w(simHome("gui-remote-all", sim.port));
        auto record = recordOf(w.session, kController);
        QVERIFY(record);
        w.select(*record);
        MessageBoxCatcher boxes(QMessageBox::Cancel);
        w.c().relay->setCurrentIndex(0);
        w.c().openTime->setText("500");
        w.c().openDoorAll->click();
        QTRY_COMPARE(boxes.texts().size(), 1u);
        boxes.setAnswer(QMessageBox::Yes);
        w.c().relay->setCurrentIndex(1);
        w.c().openDoorAll->click();
        QTRY_COMPARE(boxes.texts().size(), 3u); // the question and one notice
        boxes.setAnswer(QMessageBox::No);
        w.c().relay->setCurrentIndex(2);
        w.c().openDoorAll->click();
        QTRY_COMPARE(boxes.texts().size(), 7u); // the question and three notices
        QVERIFY(boxes.texts()[0].startsWith(QString::fromUtf8("通过广播消息开启当前选中设备")));
        for (const char* ip : {"127.0.0.1", "127.0.0.2", "127.0.0.3"}) {
            const JsonValue relays = sim.controller(ip)["remote"]["relays"];
            QCOMPARE(relays[0]["commands"].integer(), 0);
            QCOMPARE(relays[1]["commands"].integer(), std::string(ip) == kController ? 1 : 0);
            QCOMPARE(relays[2]["commands"].integer(), 1);
        }
    }

    void clockRestartClearLogAndSelfTestButtons() {
        Sim sim;
        QVERIFY(sim.ready);
        Window w(simHome("gui-remote-buttons", sim.port));
        auto record = recordOf(w.session, kController);
        QVERIFY(record);
        w.select(*record);
        MessageBoxCatcher boxes(QMessageBox::Yes);
        w.c().setTime->click();
        QTRY_COMPARE(boxes.texts().size(), 1u);
        w.c().readTime->click();
        QTRY_COMPARE(boxes.texts().size(), 2u);
        QVERIFY(boxes.texts()[1].startsWith(QString::fromUtf8("操作成功，设备时间为=20")));
        w.c().reset->click(); // the question; the restart's reply is not reported
        QTRY_COMPARE(sim.controller(kController)["remote"]["restarts"].integer(), 1);
        w.c().clearLog->click(); // the question, then the notice
        QTRY_COMPARE(boxes.texts().size(), 5u);
        QCOMPARE(boxes.texts()[2], QString::fromUtf8("确定要重新启动设备？"));
        QCOMPARE(boxes.texts()[4], QString::fromUtf8("操作成功！"));

        onNextDialog<CDlgTestFlag>([](CDlgTestFlag* d) {
            d->box(1)->setChecked(true);
            d->box(16)->setChecked(true);
            d->startButton()->click();
        });
        w.c().selfTest->click();
        QTRY_COMPARE(boxes.texts().size(), 6u);
        QCOMPARE(boxes.texts()[5], QString::fromUtf8("自测操作成功！返回码：2"));
        onNextDialog<CDlgTestFlag>([](CDlgTestFlag* d) {
            d->box(0)->setChecked(true);
            d->reject();
        });
        w.c().selfTest->click();
        JsonValue remote = sim.controller(kController)["remote"];
        QCOMPARE(QString::fromStdString(remote["payloads"]["243"].str()), QString("02000100"));
        QCOMPARE(remote["selfTests"].integer(), 1); // Cancel sent nothing
        QCOMPARE(remote["logClears"].integer(), 1);
        QCOMPARE(remote["restarts"].integer(), 2);
    }

    // Fixed IP opens the address, mask and gateway fields; DHCP and PPPoE close them.
    void ipChoicesGovernTheAddressFields_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("addressFields");
        QTest::newRow("fixed") << "fix" << true;
        QTest::newRow("dhcp") << "dhcp" << false;
        QTest::newRow("pppoe") << "pppoe" << false;
    }
    void ipChoicesGovernTheAddressFields() {
        QFETCH(QString, choice);
        QFETCH(bool, addressFields);
        Window w(makeGuiHome("gui-remote-ip"));
        DeviceUIInfo brisca;
        brisca.ip = "10.0.0.5";
        brisca.hwModel = 10;                      // "brisca": the allocation choices are open
        brisca.ipAlloc = choice == "fix" ? 1 : 0; // start from the other kind
        w.select(brisca);
        const auto& c = w.c();
        QVERIFY(c.ipFix->isEnabled() && c.ipDhcp->isEnabled() && c.ipPppoe->isEnabled());
        QCOMPARE(c.ip->isEnabled(), choice != "fix");
        if (choice == "pppoe")
            onNextDialog<CDlgPppoe>([](CDlgPppoe* d) { d->reject(); });
        QRadioButton* button = choice == "fix" ? c.ipFix : choice == "dhcp" ? c.ipDhcp : c.ipPppoe;
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(c.ip->isEnabled(), addressFields);
        QCOMPARE(c.mask->isEnabled(), addressFields);
        QCOMPARE(c.gateway->isEnabled(), addressFields);
    }

    void pppoeKeepsTheAccountInTheSelectedRecord() {
        Window w(makeGuiHome("gui-remote-pppoe"));
        DeviceUIInfo quenmar;
        quenmar.ip = "10.0.0.6";
        quenmar.hwModel = 15;
        storePppoeAccount(quenmar, {"old", "pw"});
        w.select(quenmar);
        QString shownAccount, shownPassword;
        onNextDialog<CDlgPppoe>([&](CDlgPppoe* d) {
            QCOMPARE(d->windowTitle(), QString::fromUtf8("PPPOE拨号账户名称及密码"));
            auto* account = d->findChild<QLineEdit*>("account");
            auto* password = d->findChild<QLineEdit*>("password");
            shownAccount = account->text();
            shownPassword = password->text();
            account->setText("user@isp");
            password->setText("s3cret");
            d->findChild<QPushButton*>("save")->click();
        });
        w.c().ipPppoe->click();
        QCOMPARE(shownAccount, QString("old"));
        QCOMPARE(shownPassword, QString("pw"));
        auto kept = w.dlg.listView().selected();
        QVERIFY(kept);
        QCOMPARE(QString::fromStdString(pppoeAccountOf(*kept).account), QString("user@isp"));
        QCOMPARE(QString::fromStdString(pppoeAccountOf(*kept).password), QString("s3cret"));
        QVERIFY(!w.c().ip->isEnabled());
        // A redraw of the list keeps it: the list's own row holds the account too.
        w.dlg.showList();
        w.c().list->setCurrentItem(w.c().list->topLevelItem(0));
        QCOMPARE(QString::fromStdString(pppoeAccountOf(*w.dlg.listView().selected()).account),
                 QString("user@isp"));
        // Cancel changes nothing.
        onNextDialog<CDlgPppoe>([](CDlgPppoe* d) {
            d->findChild<QLineEdit*>("account")->setText("other");
            d->reject();
        });
        w.c().ipPppoe->click();
        QCOMPARE(QString::fromStdString(pppoeAccountOf(*w.dlg.listView().selected()).account),
                 QString("user@isp"));
    }

    void set485DialogChecksItsFieldsAndSetsTheReader() {
        std::string dir = scratchDir("gui-remote-485");
        SocatPty pty(dir + "/com2", dir + "/reader");
        QVERIFY(pty.ready);
        Window w(makeGuiHome("gui-remote-485-home", "[port]\ncom-device=" + dir + "/com%d\n"));
        MessageBoxCatcher boxes;
        CDlgSet485ID dlg(w.session.settings(), w.port, &w.dlg);
        QCOMPARE(dlg.windowTitle(), QString::fromUtf8("修改485读头标志"));
        QCOMPARE(dlg.serial()->placeholderText(), QString::fromUtf8("设备上的8位出厂序号"));
        dlg.show();
        dlg.serial()->setText("4187209");
        dlg.setButton()->click();
        QTRY_COMPARE(boxes.texts().size(), 1u);
        QCOMPARE(boxes.texts()[0], QString::fromUtf8("请输入8位出厂序号！"));
        dlg.serial()->setText("41872093");
        dlg.setButton()->click();
        QTRY_COMPARE(boxes.texts().size(), 2u);
        QCOMPARE(boxes.texts()[1], QString::fromUtf8("请选择串口号！"));

        platform::MWSyncCom reader;
        QVERIFY(reader.open(pty.far, platform::SerialSettings{}));
        auto played = std::async(std::launch::async, [&] {
            std::array<std::uint8_t, 16> line{};
            auto n = reader.read(line, std::chrono::seconds(10), std::chrono::milliseconds(300));
            const std::uint8_t flag = n == 16 ? line[12] : 0;
            const std::uint8_t answer[] = {0x0A, 0x00, flag, 0x00, 0x00, 0x00, 0x0D};
            reader.write(answer);
            return n;
        });
        dlg.flag()->setValue(7);
        dlg.comPort()->setCurrentIndex(2); // COM3: "com%d" with 2
        dlg.setButton()->click();
        QCOMPARE(played.get(), 16u);
        QTRY_COMPARE(boxes.texts().size(), 3u);
        QCOMPARE(boxes.texts()[2], QString::fromUtf8("操作成功！"));
        QVERIFY(dlg.isVisible() && dlg.isEnabled()); // ready for the next reader
    }
};

QTEST_MAIN(GuiRemote)
#include "gui_remote.moc"
