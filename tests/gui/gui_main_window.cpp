// The main window: each button, list action, menu item and rights command reaches its request
// at quorvane-sim (what comes of the reply is the core's to test); the start gate, the layout
// on a small screen, progress with Cancel while busy.
#include <thread>

#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QTableWidget>

#include "app/device_list_group.h"
#include "app/quorvane_app.h"
#include "app/right_handlers.h"
#include "dialogs/dlg_config_center.h"
#include "dialogs/dlg_config_copy.h"
#include "dialogs/dlg_log_viewer.h"
#include "dialogs/dlg_test_flag.h"
#include "gui_test_support.h"
#include "remote/remote_choices.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

using Act = std::function<void(GuiWindow&)>;

// The context menu of the list as a right click opens it; the item with this caption in it or
// in one of its submenus is triggered.
void triggerMenuItem(GuiWindow& w, const char* caption, int submenuItem = -1) {
    w.dlg->deviceList().OnNMRClickZ1List(QPoint(1, 1));
    std::unique_ptr<QMenu> menu(w.dlg->findChild<QMenu*>(u("设备列表右键菜单")));
    QVERIFY(menu);
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->text() == u(caption)) {
            QAction* item = submenuItem < 0 ? a : a->menu()->actions().value(submenuItem);
            QVERIFY(item && item->isEnabled());
            return item->trigger();
        }
    QFAIL(caption);
}

// The door-access dialog (the window's own set-up of it) confirmed as it opens.
Act doorDialog(Act open) {
    return [open](GuiWindow& w) {
        onNextDialog<CDlgConfigCenter>([](CDlgConfigCenter* d) { press(d); });
        open(w);
    };
}

Act rightsCommand(int command, const char* numbers = "") {
    return [command, numbers](GuiWindow& w) { runRightsCommand(w, command, numbers); };
}

// The copy dialog from controller 1 to controller 2; it refuses until both lists hold one, and
// a controller double-clicked twice is a target once.
void copyToTheSecond(CDlgConfigCopy* d) {
    d->accept();
    QVERIFY(d->isVisible());
    QTreeWidget* all = d->allList();
    all->setCurrentItem(all->topLevelItem(0));
    d->OnBnClickedAddSource();
    for (int twice = 0; twice < 2; ++twice) {
        all->clearSelection();
        all->topLevelItem(1)->setSelected(true);
        emit all->itemDoubleClicked(all->topLevelItem(1), 0);
    }
    QCOMPARE(d->targetList()->topLevelItemCount(), 1);
    d->accept();
}

struct Wiring {
    const char* name;
    int code; // the request the controller receives
    Act act;
    const char* at = "127.0.0.1";
};

Act click(QPushButton* MainWindowControls::*button) {
    return [button](GuiWindow& w) { (w.c().*button)->click(); };
}

const std::vector<Wiring>& wirings() {
    using C = MainWindowControls;
    static const std::vector<Wiring> table = {
        // The viewer shows its last page (records 31..45; its paging is the viewer's own test).
        {"log viewer", 32,
         [](GuiWindow& w) {
             onNextDialog<CDlgLogViewer>([](CDlgLogViewer* d) {
                 QCOMPARE(d->list()->item(0, 0)->text(), u("31"));
                 d->reject();
             });
             w.c().logViewer->click();
         }},
        {"save", 4, click(&C::save)},
        {"double click", 14, doorDialog([](GuiWindow& w) {
             emit w.c().list->itemDoubleClicked(w.c().list->topLevelItem(0), 0);
         })},
        {"door access menu item", 14,
         doorDialog([](GuiWindow& w) { triggerMenuItem(w, "门禁配置(&1)"); })},
        {"copy configuration", 14,
         [](GuiWindow& w) {
             onNextDialog<CDlgConfigCopy>(copyToTheSecond);
             w.c().configExCopy->click();
         },
         "127.0.0.2"},
        {"back up", 96, click(&C::backupConfig)},
        {"restore factory", 102, click(&C::restoreFactory)},
        {"clear all", 50, click(&C::clearAll)},
        {"state menu item", 2, [](GuiWindow& w) { triggerMenuItem(w, "查看状态(&8)"); }},
        {"set time", 38, click(&C::setTime)},
        {"read time", 40, click(&C::readTime)},
        {"restart", 66, click(&C::reset)},
        {"clear log", 64, click(&C::clearLog)},
        {"get records", 48, click(&C::getRec)},
        {"get identity documents", 84, click(&C::getIdInfo)},
        {"self test", 243,
         [](GuiWindow& w) {
             onNextDialog<CDlgTestFlag>([](CDlgTestFlag* d) {
                 d->box(16)->setChecked(true);
                 d->startButton()->click();
             });
             w.c().selfTest->click();
         }},
        {"open door", 16, click(&C::openDoor)},
        {"open on all, to the selected", 16, click(&C::openDoorAll)},
        {"preset menu item", 148, [](GuiWindow& w) { triggerMenuItem(w, "常用配置", 2); }},
        // Into the file named in the field (what the run reads is the transfer's own test).
        {"read EEPROM", 32,
         [](GuiWindow& w) {
             w.c().fileName->setText(QString::fromStdString(w.home + "/eeprom-copy.bin"));
             w.c().memReadE->click();
             w.c().fileName->clear();
         }},
        {"add right", 18, rightsCommand(kRightCmdAdd, "31;32")},
        {"check right", 22, rightsCommand(kRightCmdCheck, "31")},
        {"read right", 52, rightsCommand(kRightCmdGetRight)},
        {"simulated swipe", 114, rightsCommand(kRightCmdVirtualScan, "31")},
        {"remove right", 20, rightsCommand(kRightCmdRemove, "32")},
        {"fill one", 18, rightsCommand(kRightCmdFill1)},
        {"verify one", 22, rightsCommand(kRightCmdVerify1)},
        {"download", 52, rightsCommand(kRightCmdDownload)},
        {"clear rights", 24, rightsCommand(kRightCmdClear)},
    };
    return table;
}

} // namespace

class GuiMainWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<GuiWindow> w;
    std::unique_ptr<MessageBoxCatcher> boxes;

  private slots:
    // Questions are answered "yes": by broadcast, that is to the selected controller.
    void initTestCase() {
        w = std::make_unique<GuiWindow>("operations", "[common]\ndebug=1\n", 2);
        QVERIFY(w->start());
        boxes = std::make_unique<MessageBoxCatcher>(QMessageBox::Yes);
        for (QWidget* c : w->c().plainOperationControls)
            QVERIFY(!c->isEnabled()); // until a controller is selected
        w->c().search->click();
        QTRY_COMPARE_WITH_TIMEOUT(w->c().list->topLevelItemCount(), 2, 10000);
        QCOMPARE(w->c().list->topLevelItem(0)->text(2), QString("127.0.0.1")); // in address order
        w->c().list->setCurrentItem(w->c().list->topLevelItem(0));
        QCOMPARE(w->c().logStart->text(), u("35")); // the last 10 of records 0..44
        w->c().openTime->setText("500");
    }

    void eachReachesItsRequest_data() {
        addRows(wirings(), [](const Wiring& r) { return r.name; });
    }
    void eachReachesItsRequest() {
        const Wiring& r = fetchRow(wirings());
        auto requests = [&] { return w->controller(r.at)["requests"][std::to_string(r.code)]; };
        const std::int64_t before = requests().integer();
        r.act(*w);
        QTRY_VERIFY_WITH_TIMEOUT(requests().integer() > before, 10000);
        // The window is no longer busy, and no progress count is left behind.
        QVERIFY(w->c().search->isEnabled() && w->c().status->text().isEmpty());
    }

    // "检测信息": the text of the selected controller shown and its file opened.
    void theDetailButtonOpensTheDetailFile() {
        w->port.opened.clear();
        w->c().info->click();
        QCOMPARE(w->port.opened, std::vector<std::string>{w->home + "/devInfo.txt"});
    }

    // "从数据文件取卡号": ids.txt read into a set, how many were taken shown, and the dialog
    // opens again with its numbers and the values the person had set.
    void numbersFromADataFileReopenTheDialog() {
        writeFile(w->home + "/ids.txt", "5\r\n3\r\n5\r\n");
        QString reopened, name;
        onNextDialog<CDlgRightMan>([&](CDlgRightMan* d) {
            d->findChild<QLineEdit*>("name")->setText("Wang");
            onNextDialog<QInputDialog>([&](QInputDialog* pick) {
                pick->setTextValue(pick->comboBoxItems().at(2));
                onNextDialog<CDlgRightMan>([&](CDlgRightMan* again) {
                    reopened = QString::fromStdString(again->fields().numbers);
                    name = again->findChild<QLineEdit*>("name")->text();
                    again->reject();
                });
                pick->accept();
            });
            d->commandButton(kRightCmdFromDataFile)->click();
        });
        w->dlg->rights().OnBnClickedRightMan();
        QCOMPARE(reopened, u("3;\r\n5;\r\n"));
        QVERIFY(boxes->seen("已取卡号数量=2"));
        QCOMPARE(name, u("Wang"));
    }
    // A field the save cannot take is named with its text; file filters name each pattern once.
    void whatTheWindowCannotTakeIsNamed() {
        const QString ip = w->c().ip->text();
        w->c().ip->setText("10.0.0");
        w->c().save->click();
        w->c().ip->setText(ip);
        QVERIFY(boxes->seen("保存界面数据失败！无法识别IP地址：“10.0.0”"));
        QCOMPARE(qtFileFilter("TXT Files(*.txt)|*.txt|All Files(*.*)|*.*||"),
                 u("TXT Files (*.txt);;All Files (*)"));
    }
    // The nine items of each relay's submenu reach that relay.
    void everyRelayMenuItemReachesItsRelay() {
        for (int r = 0; r < 4; ++r) {
            auto commands = [&] {
                return w->controller("127.0.0.1")["remote"]["relays"][r]["commands"].integer();
            };
            const std::int64_t before = commands();
            const std::size_t shown = boxes->texts().size();
            for (int choice = 0; choice < 9; ++choice)
                triggerMenuItem(*w, kRelayMenuCaptions[r], choice);
            QTRY_COMPARE(boxes->texts().size(), shown + 9); // every one answered
            QCOMPARE(commands(), before + 9);
        }
    }

    void aRefusedGateEndsTheStart() {
        GuiWindow gated("main-gate");
        Settings(gated.home).writeString("db", "xstr-rem", "");
        onNextDialog<QDialog>([](QDialog* d) { d->reject(); });
        QVERIFY(!gated.dlg->OnInitDialog());
    }

    // An installer's laptop: 1024 x 768 less a title bar and a panel. Every button shows its
    // whole text, and no group reaches out of the window or into another.
    void theWindowFitsA1024By768Screen() {
        QWidget* dlg = w->dlg.get();
        const QSize minimum = dlg->minimumSizeHint();
        QVERIFY(minimum.width() <= 1016 && minimum.height() <= 720);
        dlg->resize(1016, 720);
        QTRY_COMPARE(dlg->size(), QSize(1016, 720));
        for (auto* b : dlg->findChildren<QPushButton*>()) {
            const int text = b->fontMetrics().horizontalAdvance(b->text().remove('&'));
            if (b->isVisibleTo(dlg))
                QVERIFY2(b->width() >= text + 8 && b->height() >= b->fontMetrics().height(),
                         qPrintable(b->text()));
        }
        QList<QRect> groups;
        for (auto* g : dlg->findChildren<QGroupBox*>()) {
            if (!g->isVisibleTo(dlg) || g == w->c().debugRow)
                continue;
            const QRect r(g->mapTo(dlg, QPoint(0, 0)), g->size());
            QVERIFY2(dlg->rect().contains(r), qPrintable(g->title()));
            for (const QRect& other : groups)
                QVERIFY2(!other.intersects(r), qPrintable(g->title()));
            groups << r;
        }
        QVERIFY(groups.size() >= 6);
        QVERIFY(w->c().list->height() >= 120);
    }

    // Busy, the window is disabled but the progress dialog's Cancel is not; a worker thread
    // reads the answer; each busy period starts anew and gives back what was enabled.
    void progressWithCancelWhileBusy() {
        GuiWindow& w = *this->w;
        w.port.progress("读取", 1, 4);
        QCOMPARE(w.c().status->text(), u("读取 1/4"));
        QVERIFY(!w.port.progressDialog());  // outside a busy period: the status field only
        w.c().logViewer->setEnabled(false); // as an operation rule leaves it
        {
            WinDisabler busy(w.port);
            w.port.progress("正在上传权限", 3, 10);
            QProgressDialog* dialog = w.port.progressDialog();
            QVERIFY(dialog && dialog->isVisible());
            QCOMPARE(dialog->value(), 3);
            QCOMPARE(dialog->labelText(), u("正在上传权限 3/10"));
            QVERIFY(!w.c().search->isEnabled());
            auto* cancel = dialog->findChild<QPushButton*>();
            QVERIFY(cancel && cancel->isEnabled());
            QTest::mouseClick(cancel, Qt::LeftButton);
            bool seenByWorker = false;
            std::thread worker([&] { seenByWorker = w.port.cancelRequested(); });
            worker.join();
            QVERIFY(seenByWorker);
        }
        QTRY_VERIFY(!w.port.progressDialog());
        QVERIFY(w.c().search->isEnabled() && !w.c().logViewer->isEnabled());
        WinDisabler next(w.port);
        QVERIFY(!w.port.cancelRequested());
    }
    // Last: the translation stays installed for the rest of the process.
    void qtsOwnButtonsAreChineseOnAnEnglishDesktop() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(installQtTranslations(*qApp));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), u("是(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), u("否(&N)"));
    }

    void cleanupTestCase() {
        boxes.reset();
        w.reset();
    }
};

QTEST_MAIN(GuiMainWindow)
#include "gui_main_window.moc"
