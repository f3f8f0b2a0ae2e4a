// The main window: start-up values, list drawing, filter, column sort, selection and the
// operation controls, context menu, keys, photo box, notices and the busy window.
#include <memory>
#include <thread>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/device_list_menu.h"
#include "app/device_list_view.h"
#include "app/qt_user_port.h"
#include "app/quorvane_app.h"
#include "app/quorvane_dlg.h"
#include "gui_test_support.h"
#include "model/record_file.h"
#include "platform/bytes.h"
#include "platform/files.h"
#include "protocol/pipe_channel.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

DeviceUIInfo device(const std::string& name, const std::string& ip, std::uint8_t model,
                    std::uint8_t deviceNo = 1, std::uint32_t logs = 0) {
    DeviceUIInfo r;
    r.name = name;
    r.ip = ip;
    r.mac = "08.00.09.00.00." + std::to_string(deviceNo);
    r.mask = "255.255.255.0";
    r.gateway = "192.168.1.254";
    r.hwModel = model;
    r.firmwareVersion = "V2.1";
    r.groupNo = 0;
    r.deviceNo = deviceNo;
    r.searchModes = kFoundByBroadcast;
    ByteWriter(r.doorConfig, 0).putU32le(logs); // the log count, D0
    return r;
}

constexpr std::uint8_t kAmbrit = 0, kBrisca = 10, kQuenmar = 15;

struct Window {
    explicit Window(const std::string& home) : session(home, port), dlg(session, port) {
        QVERIFY(dlg.OnInitDialog());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    }
    const MainWindowControls& c() const { return dlg.controls(); }
    void list(const std::vector<DeviceUIInfo>& rows) {
        for (const auto& r : rows)
            session.devices().append(r);
        dlg.showList();
    }
    QStringList column(int col) const {
        QStringList out;
        for (int i = 0; i < c().list->topLevelItemCount(); ++i)
            out << c().list->topLevelItem(i)->text(col);
        return out;
    }
    void select(int row) { c().list->setCurrentItem(c().list->topLevelItem(row)); }

    QtUserPort port;
    ToolSession session;
    CQuorvaneDlg dlg;
};

} // namespace

class GuiMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void startUpShowsTheSettings() {
        Window w(makeGuiHome("main-start", "[common]\ntitle=测试工具\n"));
        QCOMPARE(w.dlg.windowTitle(), QString::fromUtf8("测试工具"));
        QCOMPARE(w.c().searchAddress->text(), QString("127.0.0.1"));
        QCOMPARE(w.c().searchPort->text(), QString("65534"));
        QVERIFY(w.c().searchAddress->isEnabled()); // broadcast mode: the address is editable
        QCOMPARE(w.c().ips->currentText(), QString("127.0.0.1"));
        QVERIFY(!w.c().debugRow->isVisibleTo(&w.dlg));
        QVERIFY(!w.c().searchOnStart->isChecked());
        QCOMPARE(w.c().logCount->text(), QString("10"));
        // Accelerators kept as mnemonics.
        QCOMPARE(w.c().search->text(), QString::fromUtf8("搜索网络中的设备(&A)"));
        QCOMPARE(w.c().serviceConfig->text(), QString::fromUtf8("配置选项(&O)"));
        // Nothing selected: every operation control is disabled.
        for (QWidget* c : w.c().plainOperationControls)
            QVERIFY(!c->isEnabled());
    }

    // An installer's laptop: 1024 x 768 less a title bar and a panel.
    void windowFitsA1024By768Screen() {
        Window w(makeGuiHome("main-small-screen", "[common]\ndebug=1\n"));
        w.list({device("门一", "192.168.100.100", kQuenmar, 1)});
        const QSize minimum = w.dlg.minimumSizeHint();
        QVERIFY2(minimum.width() <= 1016 && minimum.height() <= 720,
                 qPrintable(QString("%1x%2").arg(minimum.width()).arg(minimum.height())));
        w.dlg.resize(1016, 720);
        QTRY_COMPARE(w.dlg.size(), QSize(1016, 720));
        const QRect inside = w.dlg.rect();
        // Every button shows its whole text, and no group reaches out of the window or into
        // another group.
        auto readable = [](QPushButton* b) {
            const int text = b->fontMetrics().horizontalAdvance(b->text().remove('&'));
            return b->width() >= text + 8 && b->height() >= b->fontMetrics().height();
        };
        for (auto* b : w.dlg.findChildren<QPushButton*>())
            if (b->isVisibleTo(&w.dlg))
                QVERIFY2(readable(b), qPrintable(b->text()));
        QList<QRect> groups;
        for (auto* g : w.dlg.findChildren<QGroupBox*>()) {
            if (!g->isVisibleTo(&w.dlg) || g == w.c().debugRow)
                continue;
            const QRect r(g->mapTo(&w.dlg, QPoint(0, 0)), g->size());
            QVERIFY2(inside.contains(r), qPrintable(g->title()));
            for (const QRect& other : groups)
                QVERIFY2(!other.intersects(r), qPrintable(g->title()));
            groups << r;
        }
        QVERIFY(groups.size() >= 6);
        // The service buttons by name, as the person reads them.
        for (QPushButton* b :
             {w.c().serviceStart, w.c().serviceStop, w.c().serviceDebug, w.c().whiteList,
              w.c().blackList, w.c().monitor, w.c().serviceConfig, w.c().changePass})
            QVERIFY2(b->isVisible() && readable(b), qPrintable(b->text()));
        // The list keeps rows to choose from.
        QVERIFY(w.c().list->height() >= 120);
    }

    void debugShowsTheMemoryMaintenanceRow() {
        Window w(makeGuiHome("main-debug", "[common]\ndebug=1\n"));
        QVERIFY(w.c().debugRow->isVisibleTo(&w.dlg));
        QCOMPARE(w.c().backupE->text(), QString::fromUtf8("备E"));
        QCOMPARE(w.c().clearCode->text(), QString::fromUtf8("清除程序"));
    }

    void refusedGateEndsTheStart() {
        std::string home = makeGuiHome("main-gate", {}, false);
        QtUserPort port;
        ToolSession session(home, port);
        CQuorvaneDlg dlg(session, port);
        onNextDialog<QDialog>([](QDialog* d) { d->reject(); });
        QVERIFY(!dlg.OnInitDialog());
    }

    void filterMatchesNameIpMacFlagHardwareAndState() {
        Window w(makeGuiHome("main-filter"));
        w.list({device("门一", "192.168.1.10", kAmbrit, 1),
                device("door", "192.168.2.20", kBrisca, 2),
                device("gate", "10.0.0.5", kQuenmar, 3)});
        QCOMPARE(w.c().list->topLevelItemCount(), 3);
        auto shownWith = [&](const char* filter) {
            w.c().filter->setText(QString::fromUtf8(filter));
            return w.column(1);
        };
        QCOMPARE(shownWith("192.168.1"), QStringList{QString::fromUtf8("门一")});
        QCOMPARE(shownWith("00002"), QStringList{"door"});   // the device flag
        QCOMPARE(shownWith("quenmar"), QStringList{"gate"}); // the hardware text
        QCOMPARE(shownWith("00.00.3"), QStringList{"gate"}); // the MAC address
        QCOMPARE(shownWith("门"), QStringList{QString::fromUtf8("门一")});
        QCOMPARE(shownWith("Door"), QStringList{}); // case-sensitive
        QCOMPARE(shownWith("广播").size(), 3);      // the state text
        QCOMPARE(shownWith("").size(), 3);
    }

    void headerClicksSortByteWiseAndFlipDirection() {
        Window w(makeGuiHome("main-sort"));
        w.list({device("b", "10.0.0.1", kAmbrit), device("中", "10.0.0.2", kAmbrit),
                device("B", "10.0.0.3", kAmbrit), device("a", "10.0.0.4", kAmbrit)});
        QHeaderView* header = w.c().list->header();
        auto click = [&](int section) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(section) + 5, 5));
        };
        const QStringList ascending = {"B", "a", "b", QString::fromUtf8("中")};
        click(1);
        QCOMPARE(w.column(1), ascending);
        click(1);
        QStringList descending(ascending.rbegin(), ascending.rend());
        QCOMPARE(w.column(1), descending);
        // The device list keeps its own order; a redraw shows it again.
        w.dlg.showList();
        QCOMPARE(w.column(2), (QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}));
    }

    void sortKeepsTheSelectedRowAndItsButtons() {
        Window w(makeGuiHome("main-sort-selection"));
        w.list({device("c", "10.0.0.1", kAmbrit, 1), device("a", "10.0.0.2", kAmbrit, 2),
                device("b", "10.0.0.3", kAmbrit, 3)});
        w.select(2); // "b"
        QVERIFY(w.c().groupNo->isEnabled());
        QSignalSpy changed(w.c().list, &QTreeWidget::itemSelectionChanged);
        QHeaderView* header = w.c().list->header();
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(1) + 5, 5));
            QCOMPARE(w.c().list->selectedItems().size(), 1);
            QCOMPARE(w.c().list->selectedItems()[0]->text(1), QString("b"));
            QCOMPARE(w.dlg.GetCurrSelDev(true)->ip, std::string("10.0.0.3"));
            QVERIFY(w.c().groupNo->isEnabled() && w.c().saveRec->isEnabled());
            QCOMPARE(w.c().name->text(), QString("b"));
        }
        QCOMPARE(w.column(1), (QStringList{"c", "b", "a"}));
        QCOMPARE(changed.count(), 0);
    }

    void newSearchEmptiesTheFieldsOfThePreviousDevice() {
        Window w(makeGuiHome("main-search-clears"));
        w.list({device("门一", "10.0.0.1", kAmbrit, 7)});
        w.select(0);
        QCOMPARE(w.c().ip->text(), QString("10.0.0.1"));
        w.c().search->click();
        QCOMPARE(w.c().list->topLevelItemCount(), 0);
        for (QLineEdit* e : {w.c().name, w.c().mac, w.c().ip, w.c().groupNo, w.c().deviceNo,
                             w.c().hostPort, w.c().doorOpenMs}) {
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
            QVERIFY(!e->isEnabled());
        }
        QCOMPARE(w.c().baud->currentIndex(), -1);
    }

    void pendingOperationsSayTheyAreNotAvailableYet() {
        Window w(makeGuiHome("main-pending"));
        w.list({device("a", "10.0.0.1", kAmbrit)});
        w.select(0);
        const QString note = QString::fromUtf8("此功能尚未提供");
        for (QWidget* control : std::initializer_list<QWidget*>{w.c().textCmd, w.c().finger,
                                                                w.c().queryRec, w.c().browse}) {
            QVERIFY(!control->isEnabled());
            QVERIFY2(control->toolTip().contains(note), qPrintable(control->objectName()));
        }
        // The control's own tooltip stays beneath the note; a working one has no note.
        QVERIFY(w.c().textCmd->toolTip().contains(QString::fromUtf8("向控制器发送文本的配置指令")));
        QVERIFY(w.c().rights->isEnabled());
        QVERIFY(!w.c().rights->toolTip().contains(note));
        QVERIFY(w.c().groupNo->isEnabled());
        QVERIFY(w.c().save->isEnabled());
        QVERIFY(!w.c().save->toolTip().contains(note));
        QVERIFY(!w.c().search->toolTip().contains(note));
        QVERIFY(!w.c().saveRec->toolTip().contains(note));
        QVERIFY(w.c().openDoor->isEnabled());
        QVERIFY(!w.c().openDoor->toolTip().contains(note));
    }

    void selectionShowsTheRecordSavesItAndSetsTheLogStart() {
        std::string home = makeGuiHome("main-select");
        Window w(home);
        DeviceUIInfo r = device("门一", "192.168.1.10", kBrisca, 7, 100);
        r.hostAddress = "192.168.1.2";
        r.hostPort = 50000;
        r.ipAlloc = 1;
        w.list({r, device("other", "192.168.1.11", kAmbrit, 8, 5)});
        w.select(0);
        QCOMPARE(w.c().name->text(), QString::fromUtf8("门一"));
        QCOMPARE(w.c().ip->text(), QString("192.168.1.10"));
        QCOMPARE(w.c().hostPort->text(), QString("50000"));
        QCOMPARE(w.c().deviceNo->text(), QString("7"));
        QVERIFY(w.c().ipDhcp->isChecked());
        QCOMPARE(w.c().logStart->text(), QString("91")); // 100 logs, fetch 10
        QVERIFY(platform::fileExists(recordFilePath(r, home)));
        DeviceUIInfo back;
        QCOMPARE(loadRecordFile(recordFilePath(r, home), back), 0);
        QCOMPARE(back.name, r.name);
        QVERIFY(w.dlg.GetCurrSelDev(true).has_value());

        w.select(1);
        QCOMPARE(w.c().logStart->text(), QString("1")); // never below 1
        w.c().list->clearSelection();
        QVERIFY(!w.dlg.GetCurrSelDev(true).has_value());
        QVERIFY(!w.c().name->isEnabled());
        QVERIFY(!w.c().groupNo->isEnabled());
    }

    // The rules seen through the controls they govern; direct opening switched off and the
    // allocation choices of a brisca are in the remote-command window tests.
    void selectionEnablesExactlyWhatTheRulesAllow() {
        Window w(makeGuiHome("main-enable"));
        DeviceUIInfo fixed = device("a", "10.0.0.1", kAmbrit);
        DeviceUIInfo quenmar = device("q", "10.0.0.2", kQuenmar);
        quenmar.ipAlloc = 1; // DHCP
        w.list({fixed, quenmar});
        const auto& c = w.c();

        w.select(0);
        QVERIFY(c.name->isEnabled() && c.mac->isEnabled() && c.genMac->isEnabled());
        QVERIFY(c.ip->isEnabled() && c.mask->isEnabled() && c.gateway->isEnabled());
        QVERIFY(!c.ipFix->isEnabled() && !c.ipDhcp->isEnabled() && !c.ipPppoe->isEnabled());
        QVERIFY(!c.playDirect->isEnabled() && !c.soundList->isEnabled() &&
                !c.playCount->isEnabled());
        QVERIFY(c.groupNo->isEnabled() && c.saveRec->isEnabled() && c.relay->isEnabled());
        // Operations of later parts stay disabled whatever the rules say.
        QVERIFY(w.dlg.isPending(c.clearCode) && !c.clearCode->isEnabled());
        QVERIFY(c.openDoor->isEnabled() && c.openDoorAll->isEnabled());

        w.select(1);
        QVERIFY(c.ipFix->isEnabled() && c.ipDhcp->isEnabled() && c.ipPppoe->isEnabled());
        QVERIFY(c.playDirect->isEnabled() && c.soundList->isEnabled() && c.playCount->isEnabled());
        QVERIFY(!c.ip->isEnabled() && !c.mask->isEnabled() && !c.gateway->isEnabled());
        // Choosing fixed IP opens the address fields at once, DHCP closes them again.
        c.ipFix->click();
        QVERIFY(c.ip->isEnabled() && c.gateway->isEnabled());
        c.ipDhcp->click();
        QVERIFY(!c.ip->isEnabled());

        w.session.settings().writeString("common", "change-sn", "0");
        w.session.settings().writeString("common", "change-mac", "0");
        w.select(0);
        QVERIFY(!c.name->isEnabled() && !c.mac->isEnabled() && !c.genMac->isEnabled());
        QVERIFY(c.groupNo->isEnabled());
    }

    void newMacAsksWhenTheNameFollowsIt() {
        Window w(makeGuiHome("main-mac"));
        w.list({device("a", "10.0.0.1", kAmbrit)});
        w.select(0);
        MessageBoxCatcher boxes(QMessageBox::No);
        const QString before = w.c().mac->text();
        w.c().genMac->click();
        QCOMPARE(w.c().mac->text(), before);
        QCOMPARE(boxes.texts().size(), 1u);
        boxes.setAnswer(QMessageBox::Yes);
        w.c().genMac->click();
        QVERIFY(QRegularExpression("^08\\.00\\.09\\.[0-9a-f]{2}\\.[0-9a-f]{2}\\.[0-9a-f]{2}$")
                    .match(w.c().mac->text())
                    .hasMatch());
    }

    void contextMenuHoldsEveryItem() {
        QWidget parent;
        std::vector<std::pair<int, int>> opened;
        DeviceListMenuActions actions;
        actions.relay = [&](int relay, int choice) { opened.emplace_back(relay, choice); };
        std::unique_ptr<QMenu> menu(buildDeviceListMenu(&parent, actions));
        QStringList top;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                top << a->text();
        QCOMPARE(top, (QStringList{"门禁配置(&1)", "权限配置(&2)", "查看日志(&3)",
                                   "发送文本指令(&4)", "重新启动设备(&5)", "读取时间(&6)",
                                   "设置时间(&7)", "查看状态(&8)", "清除日志(&9)", "开继电器1(&A)",
                                   "开继电器2(&B)", "开继电器3", "开继电器4", "在设备间复制",
                                   "配置备份/恢复", "设备测试(&T)", "常用配置"}));
        auto sub = [&](const QString& caption) {
            for (QAction* a : menu->actions())
                if (a->text() == caption)
                    return a->menu();
            return static_cast<QMenu*>(nullptr);
        };
        QMenu* relay3 = sub("开继电器3");
        QVERIFY(relay3);
        QStringList choices;
        for (QAction* a : relay3->actions())
            choices << a->text();
        QCOMPARE(choices, (QStringList{"500毫秒(&D)", "3秒(&E)", "10秒(&F)", "30秒(&G)",
                                       "常开（继电器保持闭合）", "常闭（继电器保持断开）",
                                       "自主控制", "只开（继电器闭合）", "只关（继电器断开）"}));
        relay3->actions()[0]->trigger();
        relay3->actions()[6]->trigger();
        QCOMPARE(opened, (std::vector<std::pair<int, int>>{{2, 0}, {2, 6}}));
        QCOMPARE(sub("在设备间复制")->actions().size(), 2);
        QCOMPARE(sub("配置备份/恢复")->actions().size(), 6);
        QCOMPARE(sub("常用配置")->actions().size(), 3);

        // Without the open operation the relay items are disabled, as are the later items.
        std::unique_ptr<QMenu> plain(buildDeviceListMenu(&parent, {}));
        for (QAction* a : plain->actions())
            if (!a->menu() && !a->isSeparator())
                QVERIFY(!a->isEnabled());
    }

    void escapeAndEnterDoNotCloseTheWindow() {
        Window w(makeGuiHome("main-keys"));
        w.c().filter->setFocus();
        QTest::keyClick(w.c().filter, Qt::Key_Escape);
        QTest::keyClick(w.c().filter, Qt::Key_Return);
        QTest::keyClick(&w.dlg, Qt::Key_Escape);
        QTest::keyClick(&w.dlg, Qt::Key_Enter);
        QSignalSpy pressed(w.c().changePass, &QPushButton::clicked);
        w.c().changePass->setFocus();
        QTest::keyClick(w.c().changePass, Qt::Key_Return);
        QVERIFY(w.dlg.isVisible());
        QCOMPARE(pressed.count(), 0);
    }

    void emptyInterfaceStopsTheSearchWithTheFirstUseMessage() {
        std::string home = makeGuiHome("main-first-use");
        Settings(home).writeString("net", "mcast-local-address", "");
        Window w(home);
        QCOMPARE(w.c().ips->currentText(), QString());
        w.list({device("a", "10.0.0.1", kAmbrit)});
        MessageBoxCatcher boxes;
        w.c().search->click();
        QCOMPARE(boxes.texts().size(), 1u);
        QCOMPARE(boxes.texts()[0], QString::fromUtf8("首次使用，请选择要搜索控制器的网络接口！"));
        // The old rows are gone from the device list too: a redraw brings none back.
        QCOMPARE(w.session.devices().size(), 0u);
        w.dlg.showList();
        QCOMPARE(w.c().list->topLevelItemCount(), 0);
    }

    void broadcastSearchWritesTheAddressAsUnsignedText() {
        std::string home = makeGuiHome("main-search-keys");
        Window w(home);
        // The socket is bound to 127.0.0.1: the system refuses to send this frame anywhere.
        w.c().searchAddress->setText("240.0.0.1");
        w.c().search->click();
        Settings s(home);
        QCOMPARE(s.readString("net", "common-broadcast-address"), std::string("4026531841"));
        QCOMPARE(static_cast<std::uint32_t>(s.readInt("net", "common-broadcast-address", 0)),
                 0xF0000001u);
        QCOMPARE(s.readString("net", "common-dev-admin-port"), std::string("65534"));
    }

    void serviceDevicesBoxAlsoOpensThePipe() {
        Window w(makeGuiHome("main-show-all"));
        QVERIFY(!w.session.pipe().listServiceDevices());
        w.c().showAll->click();
        QVERIFY(w.session.devices().options().listServiceDevices);
        QVERIFY(w.session.pipe().listServiceDevices());
        w.c().showAll->click();
        QVERIFY(!w.session.devices().options().listServiceDevices);
        QVERIFY(!w.session.pipe().listServiceDevices());
    }

    void showImageDrawsTheBitmap() {
        std::string home = makeGuiHome("main-photo");
        Window w(home);
        QImage image(20, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = QString::fromStdString(home + "/photo.bmp");
        QVERIFY(image.save(path, "BMP"));
        QMetaObject::invokeMethod(&w.dlg, "OnShowImage", Qt::QueuedConnection,
                                  Q_ARG(QString, path));
        QTRY_VERIFY(!w.c().photo->pixmap().isNull());
    }

    void noticesFromAnotherThreadQueueOnTheWindowThread() {
        Window w(makeGuiHome("main-notice"));
        std::thread receiver([&] {
            w.port.showNotice("操作成功！");
            w.port.showNotice("操作失败！");
        });
        receiver.join(); // the receive thread never waited for a person
        QTRY_VERIFY(w.port.noticeBox() != nullptr);
        QCOMPARE(w.port.noticeBox()->windowTitle(), QString::fromUtf8("系统"));
        QCOMPARE(w.port.noticeBox()->text(), QString::fromUtf8("操作成功！"));
        QCOMPARE(w.port.queuedNotices(), 1);
        w.port.noticeBox()->accept();
        QTRY_VERIFY(w.port.noticeBox() &&
                    w.port.noticeBox()->text() == QString::fromUtf8("操作失败！"));
        w.port.noticeBox()->accept();
        QTRY_VERIFY(w.port.noticeBox() == nullptr);
    }

    void noticeBringsTheWindowForwardFirst() {
        Window w(makeGuiHome("main-notice-forward"));
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        w.dlg.showMinimized();
        // Whether the window was activated for the notice (the box takes the focus after it).
        QStringList seen;
        struct Watch : QObject {
            QStringList* seen;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::WindowActivate)
                    *seen << "activated";
                return false;
            }
        } watch;
        watch.seen = &seen;
        w.dlg.installEventFilter(&watch);
        w.port.showNotice("操作成功！");
        QTRY_VERIFY(w.port.noticeBox() != nullptr);
        QVERIFY(!w.dlg.isMinimized());
        QTRY_VERIFY(seen.contains("activated"));
        w.port.noticeBox()->accept();
        w.dlg.removeEventFilter(&watch);
    }

    void progressDialogCancelsWhileTheWindowIsBusy() {
        Window w(makeGuiHome("main-progress"));
        // Outside a busy period progress goes to the status field only.
        w.port.progress("读取", 1, 4);
        QCOMPARE(w.c().status->text(), QString::fromUtf8("读取 1/4"));
        QVERIFY(!w.port.progressDialog());
        {
            WinDisabler busy(w.port);
            QVERIFY(!w.port.cancelRequested());
            w.port.progress("正在上传权限", 3, 10);
            QProgressDialog* dialog = w.port.progressDialog();
            QVERIFY(dialog && dialog->isVisible());
            QCOMPARE(dialog->maximum(), 10);
            QCOMPARE(dialog->value(), 3);
            QCOMPARE(dialog->labelText(), QString::fromUtf8("正在上传权限 3/10"));
            QCOMPARE(w.c().status->text(), QString::fromUtf8("正在上传权限 3/10"));
            QVERIFY(!w.c().search->isEnabled()); // the window is busy...
            auto* cancel = dialog->findChild<QPushButton*>();
            QVERIFY(cancel && cancel->isEnabled()); // ...its Cancel is not
            QCOMPARE(cancel->text(), QString::fromUtf8("取消"));
            QTest::mouseClick(cancel, Qt::LeftButton);
            QVERIFY(w.port.cancelRequested());
            // A worker thread reads the same answer.
            bool seenByWorker = false;
            std::thread worker([&] { seenByWorker = w.port.cancelRequested(); });
            worker.join();
            QVERIFY(seenByWorker);
            // An unknown total moves the bar without end.
            w.port.progress("等待", 0, 0);
            QCOMPARE(w.port.progressDialog()->maximum(), 0);
        }
        QTRY_VERIFY(!w.port.progressDialog());
        QVERIFY(w.c().search->isEnabled());
        WinDisabler next(w.port);
        QVERIFY(!w.port.cancelRequested()); // each busy period starts anew
    }

    void qtStandardTextsFollowAChineseLocale() {
        QVERIFY(installQtTranslations(*qApp, QLocale(QLocale::Chinese, QLocale::China)));
        QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("取消"));
        QVERIFY(!installQtTranslations(*qApp, QLocale(QLocale::Zulu)));
    }

    void toolLogReachesTheTerminalOnlyWhenAsked() {
        std::string home = makeGuiHome("main-echo");
        Settings s(home);
        qunsetenv("QUORVANE_DEBUG");
        QVERIFY(!logEchoWanted(s));
        qputenv("QUORVANE_DEBUG", "1");
        QVERIFY(logEchoWanted(s));
        qputenv("QUORVANE_DEBUG", "0");
        QVERIFY(!logEchoWanted(s));
        s.writeString("options", "log-echo", "1");
        QVERIFY(logEchoWanted(s));
        qunsetenv("QUORVANE_DEBUG");
    }

    void busyWindowRestoresExactlyWhatWasEnabled() {
        Window w(makeGuiHome("main-busy"));
        w.list({device("a", "10.0.0.1", kAmbrit)});
        w.select(0);
        const auto& c = w.c();
        QVERIFY(c.name->isEnabled() && !c.clearCode->isEnabled());
        {
            WinDisabler busy(w.port);
            QVERIFY(!c.name->isEnabled() && !c.search->isEnabled() && !c.filter->isEnabled());
            WinDisabler nested(w.port);
        }
        QVERIFY(c.name->isEnabled() && c.search->isEnabled() && c.filter->isEnabled());
        QVERIFY(!c.clearCode->isEnabled());

        // From a worker thread the busy period is posted to the window's thread.
        std::thread worker([&] { w.port.beginBusy(); });
        worker.join();
        QTRY_VERIFY(!c.search->isEnabled());
        std::thread done([&] { w.port.endBusy(); });
        done.join();
        QTRY_VERIFY(c.search->isEnabled());
    }

    void serialGenWritesTheFactoryLists() {
        std::string home = makeGuiHome("main-serial", "[common]\nserial-gen=1\n");
        qputenv("HOME", QByteArray::fromStdString(home));
        Window w(home);
        DeviceUIInfo r = device("a", "10.0.0.1", kAmbrit, 2);
        r.groupNo = 1;
        std::copy_n("1234567890123456", 16, r.productSerial.begin());
        w.list({r});
        QCOMPARE(readFile(home + "/kx.txt"), std::string("00258\n"));
        QCOMPARE(readFile(home + "/kxsn.txt"), std::string("1234567890123456\n"));
    }
};

QTEST_MAIN(GuiMainWindow)
#include "gui_main_window.moc"
