// The host-service area: status by process name in any letter case, button states, the start
// and stop scripts with the real service, and the console run. The service runs under a name
// of this test's own, so services of tests running beside it are never seen.
#include <filesystem>

#include <unistd.h>

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "app/service_group.h"
#include "child_process.h" // tavrinPath
#include "gui_test_support.h"
#include "platform/files.h"
#include "session/host_service.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {

const std::string kName = "tavrin-gui-" + std::to_string(::getpid());

// The window without its start-up: the service area works on its own.
struct Window {
    explicit Window(const std::string& home) : session(home, port), dlg(session, port) {}
    const MainWindowControls& c() const { return dlg.controls(); }
    ServiceGroup& group() { return dlg.service(); }
    QtUserPort port;
    ToolSession session;
    CQuorvaneDlg dlg;
};

void script(const std::string& path, const std::string& body) {
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

// A program directory with the shipped scripts and the real service under this test's name.
std::string serviceHome(const std::string& name) {
    std::string home = makeGuiHome(name);
    for (const char* s : {"启动服务.sh", "停止服务.sh", "调试运行.sh", "service-lib.sh"})
        fs::copy_file(sourceDir() + "/dist/" + s, home + "/" + s);
    fs::copy_file(tavrinPath(), home + "/" + kName);
    return home;
}

// Answers each message box with OK, noting its text and what the service area showed then.
struct BoxWatch {
    explicit BoxWatch(const MainWindowControls& c) {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this, &c] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                texts << box->text();
                stopEnabled << c.serviceStop->isEnabled();
                startEnabled << c.serviceStart->isEnabled();
                states << c.serviceState->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer.start();
    }
    QTimer timer;
    QStringList texts, states;
    QList<bool> stopEnabled, startEnabled;
};

} // namespace

class GuiService : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qputenv(kServiceProgramVariable, QByteArray::fromStdString(kName));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(scratchDir("service-xdg")));
    }

    void serviceNamedInOtherLetterCaseShowsRunning() {
        std::string dir = makeGuiHome("service-proc");
        // A copy, not a link: the process is found by the name of its executable file.
        std::string upper = kName;
        for (auto& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const std::string program = dir + "/" + upper;
        fs::copy_file("/bin/sleep", program);
        Window w(dir);
        QVERIFY(!w.group().refreshStatus());
        QCOMPARE(w.c().serviceState->text(), QString::fromUtf8("服务状态：停止"));
        QVERIFY(w.c().serviceStart->isEnabled() && w.c().serviceDebug->isEnabled());
        QVERIFY(!w.c().serviceStop->isEnabled());

        QProcess service;
        service.start(QString::fromStdString(program), {"60"});
        QVERIFY(service.waitForStarted());
        QTRY_VERIFY(w.group().refreshStatus());
        QCOMPARE(w.c().serviceState->text(), QString::fromUtf8("服务状态：运行中"));
        QVERIFY(w.c().serviceStop->isEnabled());
        QVERIFY(!w.c().serviceStart->isEnabled() && !w.c().serviceDebug->isEnabled());

        service.kill();
        QVERIFY(service.waitForFinished());
        QTRY_VERIFY(!w.group().refreshStatus());
        QCOMPARE(w.c().serviceState->text(), QString::fromUtf8("服务状态：停止"));
        QVERIFY(!w.c().serviceStop->isEnabled());
    }

    void missingStartScriptDisablesTheButtonsUntilTheFirstRefresh() {
        Window w(makeGuiHome("service-none"));
        w.group().disableWithoutScripts();
        QVERIFY(!w.c().serviceStart->isEnabled() && !w.c().serviceStop->isEnabled() &&
                !w.c().serviceDebug->isEnabled());
        QVERIFY(!w.group().refreshStatus());
        QVERIFY(w.c().serviceStart->isEnabled());

        std::string dir = makeGuiHome("service-some");
        script(dir + "/启动服务.sh", "true");
        Window withScript(dir);
        withScript.group().refreshStatus();
        withScript.group().disableWithoutScripts();
        QVERIFY(withScript.c().serviceStart->isEnabled());
    }

    // The buttons follow the status before the message shows, so the box of a stop already
    // has "停止服务" disabled behind it.
    void startAndStopRunTheRealServiceAndReportWithTheStatusShown() {
        Window w(serviceHome("service-real"));
        w.group().refreshStatus();
        BoxWatch boxes(w.c());
        w.c().serviceStart->click();
        QCOMPARE(boxes.texts, QStringList{QString::fromUtf8("操作完成！")});
        QCOMPARE(boxes.states[0], QString::fromUtf8("服务状态：运行中"));
        QVERIFY(boxes.stopEnabled[0] && !boxes.startEnabled[0]);

        w.c().serviceStop->click();
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(boxes.texts[1], QString::fromUtf8("操作完成！"));
        QCOMPARE(boxes.states[1], QString::fromUtf8("服务状态：停止"));
        QVERIFY(!boxes.stopEnabled[1] && boxes.startEnabled[1]);
    }

    void startThatLeavesNoServiceIsReportedAsFailed() {
        std::string dir = serviceHome("service-failed");
        fs::remove(dir + "/" + kName);
        Window w(dir);
        BoxWatch boxes(w.c());
        w.c().serviceStart->click();
        QCOMPARE(boxes.texts,
                 QStringList{QString::fromUtf8("启动服务失败！原因见服务日志 log/tavrin.log。")});
        QVERIFY(!boxes.stopEnabled[0] && boxes.startEnabled[0]);
    }

    void windowKeepsRunningWhileTheScriptRunsButTakesNoClicks() {
        std::string dir = makeGuiHome("service-slow");
        // The script ends as soon as the window has answered, or gives up after a while.
        script(dir + "/停止服务.sh", "i=0; while [ ! -f go ] && [ $i -lt 200 ]; do sleep 0.05; "
                                     "i=$((i+1)); done; [ -f go ] && echo answered > result");
        Window w(dir);
        w.dlg.show();
        BoxWatch boxes(w.c());
        bool busyMeanwhile = false;
        QTimer::singleShot(0, [&] {
            // The status refresh of the one-second timer leaves the busy buttons alone.
            w.group().refreshStatus();
            busyMeanwhile = !w.c().serviceStart->isEnabled() && !w.c().changePass->isEnabled() &&
                            boxes.texts.empty();
            writeFile(dir + "/go", "");
        });
        w.c().serviceStop->setEnabled(true);
        w.c().serviceStop->click();
        QVERIFY(busyMeanwhile);
        QCOMPARE(readFile(dir + "/result"), std::string("answered\n"));
        QCOMPARE(boxes.texts, QStringList{QString::fromUtf8("操作完成！")});
        QVERIFY(w.c().changePass->isEnabled());
    }

    void consoleRunOpensATerminalWindowWhenTheDesktopHasOne() {
        std::string dir = makeGuiHome("service-terminal");
        script(dir + "/调试运行.sh", "true");
        std::string bin = scratchDir("service-bin");
        // A terminal that notes how it was asked to run the script.
        script(bin + "/x-terminal-emulator", "echo \"$@\" > '" + dir + "/terminal-args'");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin) + ":" + path);
        qputenv("DISPLAY", ":99");
        Window w(dir);
        BoxWatch boxes(w.c());
        w.c().serviceDebug->click();
        // The file exists from the moment the shell opens it: wait for its whole line.
        QTRY_COMPARE(readFile(dir + "/terminal-args"), "-e /bin/sh " + dir + "/调试运行.sh\n");
        QVERIFY(boxes.texts.isEmpty());
        qputenv("PATH", path);
        qunsetenv("DISPLAY");
    }

    void consoleRunWithoutTerminalNamesTheFileOfItsOutput() {
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        std::string dir = makeGuiHome("service-console");
        script(dir + "/调试运行.sh", "echo service output");
        Window w(dir);
        BoxWatch boxes(w.c());
        w.c().serviceDebug->click();
        const std::string log = dir + "/log/tavrin-console.log";
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts[0].endsWith(QString::fromStdString(log)));
        QTRY_COMPARE(readFile(log), std::string("service output\n"));
    }

    void monitorReturnsAtOnceWithoutMessage() {
        std::string dir = makeGuiHome("service-monitor");
        script(dir + "/监控工具", "touch monitor-ran");
        Window w(dir);
        BoxWatch boxes(w.c());
        w.c().monitor->click();
        QTRY_VERIFY(platform::fileExists(dir + "/monitor-ran"));
        QVERIFY(boxes.texts.isEmpty());
    }

    void missingCompanionLaunchesNothing() {
        Window w(makeGuiHome("service-missing"));
        BoxWatch boxes(w.c());
        w.c().monitor->click();
        w.c().serviceDebug->click();
        QVERIFY(boxes.texts.isEmpty());
    }
};

QTEST_MAIN(GuiService)
#include "gui_service.moc"
