// A search from the window against quorvane-sim over loopback fills the list in order.
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "child_process.h"
#include "gui_test_support.h"
#include "infra/settings.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

QStringList column(const QTreeWidget* list, int c) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(c);
    return out;
}

} // namespace

class GuiSearch : public QObject {
    Q_OBJECT
private slots:
    void searchFillsTheListInAddressOrder() {
        const int port = testPort(0);
        // Searches go to the loopback broadcast address on this test's own port.
        std::string home = makeGuiHome("search", "[options]\nshow-list-by-timer=1\n");
        Settings settings(home);
        settings.writeString("net", "common-dev-admin-port", std::to_string(port));
        settings.writeString("net", "common-broadcast-address", "2147483647");

        ChildProcess sim({simPath(), "--port", std::to_string(port), "--block", "mixed",
                          "--address", "127.0.0.9", "--address", "127.0.0.3", "--address",
                          "127.0.0.10", "--address", "127.0.0.1", "--address", "127.0.0.2"});
        QVERIFY(sim.waitForLine("ready"));

        QtUserPort userPort;
        ToolSession session(home, userPort);
        CQuorvaneDlg dlg(session, userPort);
        QVERIFY(dlg.OnInitDialog());
        dlg.show();
        const auto& c = dlg.controls();
        QCOMPARE(c.searchAddress->text(), QString("127.255.255.255"));
        QCOMPARE(c.searchPort->text(), QString::number(port));

        c.search->click();
        QTRY_COMPARE_WITH_TIMEOUT(c.list->topLevelItemCount(), 5, 10000);
        QCOMPARE(column(c.list, 2), (QStringList{"127.0.0.1", "127.0.0.2", "127.0.0.3",
                                                 "127.0.0.9", "127.0.0.10"}));
        QCOMPARE(c.list->topLevelItem(0)->text(1), QString::fromUtf8("门禁4"));
        QCOMPARE(c.list->topLevelItem(0)->text(6), QString::fromUtf8("0-正常/广播;"));

        // A second search empties the list and fills it again; the filter narrows the rows.
        c.search->click();
        QCOMPARE(c.list->topLevelItemCount(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(c.list->topLevelItemCount(), 5, 10000);
        c.filter->setText("127.0.0.1");
        QCOMPARE(column(c.list, 2), (QStringList{"127.0.0.1", "127.0.0.10"}));
        QCOMPARE(settings.readInt("net", "common-broadcast-address", 0), 2147483647);
    }
};

QTEST_MAIN(GuiSearch)
#include "gui_search.moc"
