// The configuration handlers of the main window against quorvane-sim over loopback: save and
// search again, the door-access edit through its dialog, the broadcast questions, the
// controller-side backups, the copy dialog, the detail text and the pending-reply watch.
#include <algorithm>
#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "app/config_handlers.h"
#include "app/device_list_menu.h"
#include "app/device_list_view.h"
#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "child_process.h"
#include "config_dialog_support.h"
#include "dialogs/dlg_config_center.h"
#include "dialogs/dlg_config_copy.h"
#include "dialogs/dlg_config_relayer.h"
#include "dialogs/dlg_config_timezone.h"
#include "fake_clock.h"
#include "gui_test_support.h"
#include "infra/codepage.h"
#include "infra/settings.h"
#include "platform/files.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

// Documents are not opened on the test machine; the port remembers what would be.
class TestPort : public QtUserPort {
  public:
    void openDocument(const std::string& path, bool wait) override {
        opened.push_back(path);
        waited = wait;
    }
    std::vector<std::string> opened;
    bool waited = false;
};

QString u(const char* text) {
    return QString::fromUtf8(text);
}

// A window on a program directory whose searches reach the simulator on this test's port.
struct Window {
    Window(int portOffset, int controllers, std::vector<std::string> simExtra = {},
           Clock* clock = nullptr)
        : port(testPort(portOffset)), home(makeGuiHome("config" + std::to_string(portOffset))),
          dumpFile(home + "/sim-dump.json"), sim(simArgs(controllers, simExtra)) {
        Settings settings(home);
        settings.writeString("net", "common-dev-admin-port", std::to_string(port));
        settings.writeString("net", "common-broadcast-address", "2147483647");
        session = std::make_unique<ToolSession>(home, userPort, clock);
        session->log().setEcho(false);
        dlg = std::make_unique<CQuorvaneDlg>(*session, userPort);
    }
    std::vector<std::string> simArgs(int controllers, std::vector<std::string> extra) {
        std::vector<std::string> a = {
            simPath(), "--port", std::to_string(port), "--count", std::to_string(controllers),
            "--dump",  dumpFile};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    bool start() {
        if (!sim.waitForLine("ready") || !dlg->OnInitDialog())
            return false;
        dlg->show();
        return QTest::qWaitForWindowExposed(dlg.get());
    }
    const MainWindowControls& c() const { return dlg->controls(); }
    bool searchFor(int rows) {
        c().search->click();
        return QTest::qWaitFor([&] { return c().list->topLevelItemCount() == rows; }, 10000);
    }
    QTreeWidgetItem* row(const char* ip) const {
        for (int i = 0; i < c().list->topLevelItemCount(); ++i)
            if (c().list->topLevelItem(i)->text(2) == u(ip))
                return c().list->topLevelItem(i);
        return nullptr;
    }
    void select(const char* ip) { c().list->setCurrentItem(row(ip)); }
    JsonValue config(const std::string& address) {
        auto state = requestSimDump(sim, dumpFile);
        return state ? simController(*state, address)["configuration"] : JsonValue{};
    }
    static bool seen(const MessageBoxCatcher& boxes, const char* text) {
        const auto& t = boxes.texts();
        return std::find(t.begin(), t.end(), u(text)) != t.end();
    }

    int port;
    std::string home;
    std::string dumpFile;
    ChildProcess sim;
    TestPort userPort;
    std::unique_ptr<ToolSession> session;
    std::unique_ptr<CQuorvaneDlg> dlg;
};

} // namespace

class GuiConfig : public QObject {
    Q_OBJECT
  private slots:
    void theButtonsFollowTheSelection() {
        Window w(0, 2);
        QVERIFY(w.start());
        const auto buttons = {
            w.c().save,           w.c().saveBroadcast, w.c().configEx,      w.c().configExCopy,
            w.c().info,           w.c().backupConfig,  w.c().restoreConfig, w.c().backupToFactory,
            w.c().restoreFactory, w.c().clearAll};
        for (auto* b : buttons)
            QVERIFY(!b->isEnabled());
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        for (auto* b : buttons)
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    }

    void aSaveFromTheWindowShowsAfterTheNextSearch() {
        Window w(1, 3);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        QVERIFY(w.searchFor(3));
        w.select("127.0.0.2");
        w.c().hostPort->setText("50123");
        w.c().save->click();
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "操作成功！"), 10000);
        // The list's record holds what was saved.
        QCOMPARE(w.row("127.0.0.2")->text(1), u("00002"));
        QCOMPARE(w.row("127.0.0.2")->text(4), u("50123"));

        QVERIFY(w.searchFor(3));
        QCOMPARE(w.row("127.0.0.2")->text(4), u("50123"));
        QCOMPARE(w.row("127.0.0.2")->text(1), u("00002"));
        QCOMPARE(w.row("127.0.0.3")->text(4), u("50000"));
        QCOMPARE(w.config("127.0.0.2")["basicWrites"].integer(), 1);
    }

    void fieldsThatCannotBeTakenStopTheSave() {
        Window w(2, 2);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        w.c().groupNo->setText("300");
        w.c().save->click();
        QTRY_VERIFY(Window::seen(boxes, "保存界面数据失败！"));
        w.c().groupNo->setText("1");
        w.c().mask->setText("0.0.0.0");
        w.c().save->click();
        QTRY_VERIFY(Window::seen(boxes, "需要指定合适的子网掩码！"));
        QCOMPARE(w.config("127.0.0.2")["basicWrites"].integer(), 0);
    }

    void aCancelledBroadcastSaveSendsNothing() {
        Window w(3, 2);
        QVERIFY(w.start());
        MessageBoxCatcher boxes(QMessageBox::Cancel);
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        w.c().saveBroadcast->click();
        QVERIFY(Window::seen(boxes, "通过广播消息发送保存配置命令给当前设备吗？广播给指定选中设备选"
                                    "择“是”，广播到网络中所有设备选择“否”，退出选择“取消”。"));
        QCOMPARE(boxes.texts().size(), std::size_t(1));
        QCOMPARE(w.config("127.0.0.2")["basicWrites"].integer(), 0);

        // Yes twice: by broadcast to the selected controller only.
        boxes.setAnswer(QMessageBox::Yes);
        w.c().hostPort->setText("50124");
        w.c().saveBroadcast->click();
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "操作成功！"), 10000);
        QCOMPARE(w.config("127.0.0.2")["hostPort"].integer(), 50124);
        QCOMPARE(w.config("127.0.0.1")["basicWrites"].integer(), 0);
    }

    void aDoubleClickEditsTheDoorAccessBlockAndWritesIt() {
        Window w(4, 2);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        DoorBlock shown{};
        w.dlg->config().setDoorDialog([&](DoorBlock& working) {
            shown = working;
            working[289] = 0x05;     // relay 1: report, time zone 2
            working[344 + 4] = 0x7F; // time zone 2: every weekday
            return true;
        });
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        emit w.c().list->itemDoubleClicked(w.row("127.0.0.2"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "保存成功！"), 10000);
        QCOMPARE(shown[404], std::uint8_t(1)); // the controller's right mode, as refreshed

        const std::string block = w.config("127.0.0.2")["doorBlock"].str();
        QCOMPARE(QString::fromStdString(block.substr(289 * 2, 2)), u("05"));
        QCOMPARE(QString::fromStdString(block.substr(348 * 2, 2)), u("7f"));
        auto record = w.dlg->listView().selected();
        QVERIFY(record);
        QCOMPARE(record->doorConfig[289], std::uint8_t(0x05));
    }

    // The installer's path: the door-access button, the relay and time-zone sub-dialogs, OK,
    // then a search shows the controller's new block. Cancel writes nothing.
    void theDoorAccessDialogEditsARelayAndAZone_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void theDoorAccessDialogEditsARelayAndAZone() {
        QFETCH(bool, confirmed);
        Window w(9, 2);
        QVERIFY(w.start());
        MessageBoxCatcher boxes; // the right-format note when the formats differ, the result
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        const std::string before = w.config("127.0.0.2")["doorBlock"].str();
        bool opened = false;
        onNextDialog<CDlgConfigCenter>([&](CDlgConfigCenter* center) {
            opened = true;
            onNextDialog<CDlgConfigRelayer>([](CDlgConfigRelayer* d) {
                setControl(d, "zone2", 3); // relay 2 in zone 3
                pressOk(d);
            });
            control<QPushButton>(center, "relayConfig")->click();
            onNextDialog<CDlgConfigTimezone>([](CDlgConfigTimezone* d) {
                setControl(d, "end3", QTime(18, 0, 0));
                pressOk(d);
            });
            control<QPushButton>(center, "zoneConfig")->click();
            confirmed ? pressOk(center) : pressCancel(center);
        });
        w.c().configEx->click();
        QVERIFY(opened);
        if (!confirmed) {
            QCOMPARE(w.config("127.0.0.2")["doorWrites"].integer(), 0);
            QCOMPARE(w.config("127.0.0.2")["doorBlock"].str(), before);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "保存成功！"), 10000);
        const std::string block = w.config("127.0.0.2")["doorBlock"].str();
        // Relay 2's byte 1: bits 2..5 hold the zone number minus 1.
        const int relay = std::stoi(before.substr(293 * 2, 2), nullptr, 16);
        const int expected = (relay & ~0x3C) | (2 << 2);
        QCOMPARE(std::stoi(block.substr(293 * 2, 2), nullptr, 16), expected);
        QCOMPARE(QString::fromStdString(block.substr(354 * 2, 4)), u("0090")); // zone 3 ends 18:00

        w.c().list->clear();
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        auto record = w.dlg->listView().selected();
        QVERIFY(record);
        QCOMPARE(int(record->doorConfig[293]), expected);
        QCOMPARE(record->doorConfig[355], std::uint8_t(0x90));
    }

    void theBackupButtonsAskThenSend() {
        Window w(5, 2);
        QVERIFY(w.start());
        MessageBoxCatcher boxes(QMessageBox::No);
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        w.c().clearAll->click();
        QVERIFY(Window::seen(
            boxes, "此操作将清除所有数据（包含备份配置及出厂设置、权限数据、日志数据），"
                   "确定要继续吗？操作需要几分钟到几十分钟，完成后控制器将自动重新启动！"));
        w.c().backupConfig->click();
        QVERIFY(Window::seen(boxes, "确定要备份当前配置吗？"));
        QVERIFY(w.config("127.0.0.2")["backup"].isNull());

        boxes.setAnswer(QMessageBox::Yes);
        w.c().backupToFactory->click();
        QVERIFY(Window::seen(boxes, "确定要备份当前配置为出厂配置吗？"));
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "操作成功！"), 10000);
        QVERIFY(!w.config("127.0.0.2")["factory"].isNull());
        w.c().restoreConfig->click();
        QVERIFY(Window::seen(boxes, "确定要从备份中恢复配置吗？"));
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "操作失败！"), 10000);
    }

    void theCopyDialogCopiesToItsTargets() {
        Window w(6, 3);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        QVERIFY(w.searchFor(3));
        w.select("127.0.0.1");
        onNextDialog<CDlgConfigCopy>([](CDlgConfigCopy* d) {
            QTreeWidget* all = d->allList();
            // Refused until both lists hold a controller.
            d->accept();
            QVERIFY(d->isVisible());
            all->setCurrentItem(all->topLevelItem(0));
            d->OnBnClickedAddSource();
            // A double click on the all-controllers list adds to the targets.
            for (int i : {1, 2, 2}) {
                all->clearSelection();
                all->topLevelItem(i)->setSelected(true);
                emit all->itemDoubleClicked(all->topLevelItem(i), 0);
            }
            QCOMPARE(d->targetList()->topLevelItemCount(), 2);
            QCOMPARE(d->sourceList()->topLevelItemCount(), 1);
            d->accept();
        });
        w.c().configExCopy->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            std::count(boxes.texts().begin(), boxes.texts().end(), u("保存成功！")) == 2, 10000);
        QVERIFY(Window::seen(boxes, "请先添加来源板和目标板！"));
        const std::string source = w.config("127.0.0.1")["doorBlock"].str().substr(64);
        for (const char* ip : {"127.0.0.2", "127.0.0.3"}) {
            JsonValue c = w.config(ip);
            QCOMPARE(QString::fromStdString(c["doorBlock"].str().substr(64)),
                     QString::fromStdString(source));
            QCOMPARE(c["doorWrites"].integer(), 1);
        }
    }

    void theDetailTextShowsAndIsWrittenToDevInfo() {
        Window w(7, 2);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        w.c().info->click();
        QTRY_VERIFY(!boxes.texts().empty());
        QVERIFY(boxes.texts()[0].startsWith(u("服务运行=服务状态：")));
        const std::string path = w.home + "/devInfo.txt";
        QCOMPARE(w.userPort.opened, std::vector<std::string>{path});
        QVERIFY(w.userPort.waited);
        QVERIFY(fromGbk(readFile(path)).find("基本信息=产品序号:2024000000000002,设备名称:门禁2") !=
                std::string::npos);

        // A right double click shows the text without writing the file.
        platform::removeFile(path);
        const QPoint at = w.c().list->visualItemRect(w.row("127.0.0.2")).center();
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, w.c().list->viewport()->mapToGlobal(at),
                        Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(w.c().list->viewport(), &dbl);
        QTRY_COMPARE(boxes.texts().size(), std::size_t(2));
        QVERIFY(boxes.texts()[1].startsWith(u("服务运行=")));
        QVERIFY(!platform::fileExists(path));

        // The context menu's "查看状态(&8)": refreshed first, then the text. Its other
        // configuration entries are live too.
        DeviceListMenuActions actions;
        w.dlg->config().addMenuActions(actions);
        std::unique_ptr<QMenu> menu(buildDeviceListMenu(w.dlg.get(), actions));
        auto action = [&](const char* caption) {
            for (QAction* a : menu->findChildren<QAction*>())
                if (a->text() == u(caption))
                    return a;
            return static_cast<QAction*>(nullptr);
        };
        for (const char* caption :
             {"门禁配置(&1)", "复制配置", "设备侧备份", "设备侧恢复",
              "设备侧备份当前配置为出厂配置", "设备侧从出厂配置恢复当前配置", "查看状态(&8)"})
            QVERIFY2(action(caption) && action(caption)->isEnabled(), caption);
        action("查看状态(&8)")->trigger();
        QTRY_COMPARE(boxes.texts().size(), std::size_t(3));
        QVERIFY(boxes.texts()[2].contains(u("设备序号:3")));
    }

    void theWatchSpeaksWhenNoReplyComes() {
        FakeClock clock(std::chrono::milliseconds(200));
        Window w(8, 2, {"--fault", "drop:4:1"}, &clock);
        QVERIFY(w.start());
        MessageBoxCatcher boxes;
        QVERIFY(w.searchFor(2));
        w.select("127.0.0.2");
        w.c().save->click();
        // The controller took the write but its answer was lost.
        QTRY_COMPARE_WITH_TIMEOUT(w.config("127.0.0.2")["basicWrites"].integer(), std::int64_t(1),
                                  10000);
        QVERIFY(boxes.texts().empty());
        clock.advance(std::chrono::seconds(5));
        QTRY_VERIFY_WITH_TIMEOUT(
            Window::seen(boxes, "配置保存失败或者操作返回超时，请重新搜索并检查是否保存成功，或者"
                                "尝试使用“发送广播消息保存”！"),
            5000);

        // A second save is answered: its notice, and the watch has nothing left to say.
        w.c().save->click();
        QTRY_VERIFY_WITH_TIMEOUT(Window::seen(boxes, "操作成功！"), 10000);
        QVERIFY(!w.session->dispatcher().pendingReply.armed());
    }
};

QTEST_MAIN(GuiConfig)
#include "gui_config.moc"
