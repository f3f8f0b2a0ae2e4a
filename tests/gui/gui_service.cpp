// The host-service group: status by process name in any letter case, button states, scripts.
#include <filesystem>

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "app/service_group.h"
#include "gui_test_support.h"
#include "platform/files.h"
#include "platform/process.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {

struct Group {
    explicit Group(const std::string& home) : c(buildMainWindow(&window)), group(c, home, port) {
        port.setWindow(&window);
    }
    QWidget window;
    MainWindowControls c;
    QtUserPort port;
    ServiceGroup group;
};

void script(const std::string& path, const std::string& body) {
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

} // namespace

class GuiService : public QObject {
    Q_OBJECT
  private slots:
    void serviceNamedInOtherLetterCaseShowsRunning() {
        if (platform::isProcessRunning(kServiceProgram))
            QSKIP("a host service already runs on this machine");
        std::string dir = scratchDir("service-proc");
        // A copy, not a link: the process is found by the name of its executable file.
        const std::string program = dir + "/TaVrIn";
        fs::copy_file("/bin/sleep", program);
        Group g(dir);
        QVERIFY(!g.group.refreshStatus());
        QCOMPARE(g.c.serviceState->text(), QString::fromUtf8("服务状态：停止"));
        QVERIFY(g.c.serviceStart->isEnabled() && g.c.serviceDebug->isEnabled());
        QVERIFY(!g.c.serviceStop->isEnabled());

        QProcess service;
        service.start(QString::fromStdString(program), {"60"});
        QVERIFY(service.waitForStarted());
        QTRY_VERIFY(g.group.refreshStatus());
        QCOMPARE(g.c.serviceState->text(), QString::fromUtf8("服务状态：运行中"));
        QVERIFY(g.c.serviceStop->isEnabled());
        QVERIFY(!g.c.serviceStart->isEnabled() && !g.c.serviceDebug->isEnabled());

        service.kill();
        QVERIFY(service.waitForFinished());
        QTRY_VERIFY(!g.group.refreshStatus());
        QCOMPARE(g.c.serviceState->text(), QString::fromUtf8("服务状态：停止"));
        QVERIFY(!g.c.serviceStop->isEnabled());
    }

    void missingStartScriptDisablesTheButtonsUntilTheFirstRefresh() {
        Group g(scratchDir("service-none"));
        g.group.disableWithoutScripts();
        QVERIFY(!g.c.serviceStart->isEnabled() && !g.c.serviceStop->isEnabled() &&
                !g.c.serviceDebug->isEnabled());
        const bool running = g.group.refreshStatus();
        QCOMPARE(g.c.serviceStart->isEnabled(), !running);

        std::string dir = scratchDir("service-some");
        script(dir + "/启动服务.sh", "true");
        Group withScript(dir);
        withScript.group.refreshStatus();
        withScript.group.disableWithoutScripts();
        QCOMPARE(withScript.c.serviceStart->isEnabled(), !running);
    }

    void startAndStopWaitForTheirScriptThenReport() {
        std::string dir = scratchDir("service-scripts");
        // The script runs in the program directory and is done before the message shows.
        script(dir + "/启动服务.sh", "sleep 0.2; pwd > started");
        Group g(dir);
        MessageBoxCatcher boxes;
        g.c.serviceStart->click();
        QCOMPARE(boxes.texts().size(), 1u);
        QCOMPARE(boxes.texts()[0], QString::fromUtf8("操作完成！"));
        QCOMPARE(readFile(dir + "/started"), dir + "\n");

        // A missing stop script launches nothing and still reports.
        g.c.serviceStop->click();
        QCOMPARE(boxes.texts().size(), 2u);
        QCOMPARE(boxes.texts()[1], QString::fromUtf8("操作完成！"));
    }

    void windowKeepsRunningWhileTheScriptRunsButTakesNoClicks() {
        std::string dir = scratchDir("service-slow");
        // The script ends as soon as the window has answered, or gives up after a while.
        script(dir + "/停止服务.sh", "i=0; while [ ! -f go ] && [ $i -lt 200 ]; do sleep 0.05; "
                                     "i=$((i+1)); done; [ -f go ] && echo answered > result");
        Group g(dir);
        g.window.show();
        MessageBoxCatcher boxes;
        bool busyMeanwhile = false;
        QTimer::singleShot(0, [&] {
            busyMeanwhile = !g.c.serviceStart->isEnabled() && !g.c.changePass->isEnabled() &&
                            boxes.texts().empty();
            writeFile(dir + "/go", "");
        });
        g.c.serviceStop->setEnabled(true);
        g.c.serviceStop->click();
        QVERIFY(busyMeanwhile);
        QCOMPARE(readFile(dir + "/result"), std::string("answered\n"));
        QCOMPARE(boxes.texts().size(), 1u);
        QCOMPARE(boxes.texts()[0], QString::fromUtf8("操作完成！"));
        QVERIFY(g.c.changePass->isEnabled());
    }

    void debugRunAndMonitorReturnAtOnceWithoutMessage() {
        std::string dir = scratchDir("service-debug");
        script(dir + "/调试运行.sh", "touch debug-ran");
        script(dir + "/监控工具", "touch monitor-ran");
        Group g(dir);
        MessageBoxCatcher boxes;
        g.c.serviceDebug->click();
        g.c.monitor->click();
        QTRY_VERIFY(platform::fileExists(dir + "/debug-ran"));
        QTRY_VERIFY(platform::fileExists(dir + "/monitor-ran"));
        QVERIFY(boxes.texts().empty());
    }

    void missingCompanionLaunchesNothing() {
        std::string dir = scratchDir("service-missing");
        Group g(dir);
        MessageBoxCatcher boxes;
        g.c.monitor->click();
        g.c.serviceDebug->click();
        QVERIFY(boxes.texts().empty());
    }
};

QTEST_MAIN(GuiService)
#include "gui_service.moc"
