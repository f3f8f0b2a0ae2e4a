#pragma once
// The window tests' fixture: the main window on a program directory that keeps every packet on
// this machine (with quorvane-sim behind it when asked), message boxes answered, controls set.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "dialogs/dlg_right_man.h"
#include "infra/codepage.h"
#include "infra/settings.h"
#include "session/start_gate.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"
#include "test_paths.h"

namespace quorvane::test {

inline QString u(const char* text) {
    return QString::fromUtf8(text);
}

// Searches go to 127.0.0.1 in broadcast mode, multicast is off and no group is joined, the
// pipe is off, nothing is searched at start, and the start gate is passed.
inline std::string makeGuiHome(const std::string& name, const std::string& extraConfig = {}) {
    std::string home = scratchDir(name);
    const std::string xstr = startPasswordDigest("720418");
    std::string config = "[net]\nenable-mcast=0\nsearch-on-start=0\nenable-pipe=0\n"
                         "local-admin-ip=127.0.0.1\nmcast-local-address=127.0.0.1\n"
                         "common-broadcast-address=2130706433\ncommon-dev-admin-port=65534\n"
                         "[db]\nxstr=" +
                         xstr + "\nxstr-rem=" + rememberMarker(xstr) + "\n";
    writeFile(home + "/config.ini", toGbk(config + extraConfig));
    return home;
}

// Documents are not opened and no file dialog shows: the port remembers and answers instead.
class TestPort : public gui::QtUserPort {
  public:
    void openDocument(const std::string& path, bool) override { opened.push_back(path); }
    std::optional<std::string> pickOpenFile(const std::string&) override { return {}; }
    std::vector<std::string> opened;
};

// The main window on a program directory; with `controllers` simulated ones (rights of the
// 24-byte form, simArgs added to the simulator's command line) on this test's port, searched
// by broadcast to 127.255.255.255; on clock when given (a silent wait then costs its grace).
struct GuiWindow {
    explicit GuiWindow(const std::string& name, const std::string& extraConfig = {},
                       int controllers = 0, const std::vector<std::string>& simArgs = {},
                       Clock* clock = nullptr)
        : home(makeGuiHome(name, extraConfig)), dumpFile(home + "/sim.json") {
        if (controllers > 0) {
            const int port = testPort(50);
            Settings s(home);
            s.writeString("net", "common-dev-admin-port", std::to_string(port));
            s.writeString("net", "common-broadcast-address", "2147483647");
            std::vector<std::string> args{simPath(), "--port", std::to_string(port), "--count",
                                          std::to_string(controllers)};
            args.insert(args.end(), {"--right-mode", "2", "--logs", "45", "--dump", dumpFile});
            args.insert(args.end(), simArgs.begin(), simArgs.end());
            sim = std::make_unique<ChildProcess>(args);
        }
        session = std::make_unique<ToolSession>(home, port, clock);
        session->log().setEcho(false);
        dlg = std::make_unique<gui::CQuorvaneDlg>(*session, port);
    }
    bool start() {
        if ((sim && !sim->waitForLine("ready")) || !dlg->OnInitDialog())
            return false;
        dlg->show();
        return QTest::qWaitForWindowExposed(dlg.get());
    }
    const gui::MainWindowControls& c() const { return dlg->controls(); }
    JsonValue controller(const std::string& address) {
        auto d = requestSimDump(*sim, dumpFile);
        return d ? simController(*d, address) : JsonValue();
    }

    std::string home;
    std::string dumpFile;
    std::unique_ptr<ChildProcess> sim;
    TestPort port;
    std::unique_ptr<ToolSession> session;
    std::unique_ptr<gui::CQuorvaneDlg> dlg;
};

// Answers every message box that opens (with the given button) and records its text.
class MessageBoxCatcher {
  public:
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    texts_.push_back(box->text());
                    QAbstractButton* b = box->button(answer);
                    (b ? b : box->buttons().value(0))->click();
                } else if (w->objectName() == "longMessage" && w->isVisible()) {
                    // A message too long for a box scrolls in a dialog of its own.
                    texts_.push_back(w->findChild<QPlainTextEdit*>("messageText")->toPlainText());
                    w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
                }
        });
        timer_.start(10);
    }
    const std::vector<QString>& texts() const { return texts_; }
    bool seen(const char* text) const {
        return std::find(texts_.begin(), texts_.end(), u(text)) != texts_.end();
    }

  private:
    QTimer timer_;
    std::vector<QString> texts_;
};

// Runs act on the next modal dialog of type D once it is shown.
template <typename D> void onNextDialog(std::function<void(D*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(d);
    });
    timer->start();
}

// A data table whose rows are those of a table in the test: one column, the row's index.
template <typename Row, typename Name> void addRows(const std::vector<Row>& rows, Name name) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < rows.size(); ++i)
        QTest::newRow(QByteArray(name(rows[i])).constData()) << int(i);
}
template <typename Row> const Row& fetchRow(const std::vector<Row>& rows) {
    QFETCH(int, row);
    return rows.at(static_cast<std::size_t>(row));
}

// As a person sets it: a list takes an item index (an editable one typed text), a box a tick,
// an edit a text typed key by key (its validator sees every key), a time edit a time.
inline bool setControl(QObject* dialog, const QString& name, const QVariant& value) {
    auto type = [](QWidget* edit, const QString& text) {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    };
    QWidget* w = dialog->findChild<QWidget*>(name);
    auto* box = qobject_cast<QComboBox*>(w);
    auto* edit = box && box->isEditable() && value.typeId() == QMetaType::QString
                     ? box->lineEdit()
                     : qobject_cast<QLineEdit*>(w);
    if (edit) {
        edit->clear();
        type(edit, value.toString());
    } else if (box) {
        box->setCurrentIndex(value.toInt());
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setChecked(value.toBool());
    } else if (auto* time = qobject_cast<QTimeEdit*>(w)) {
        time->setTime(value.toTime());
    } else {
        return false;
    }
    return true;
}

// The rights dialog opened from the window: the numbers typed, the command's button pressed.
inline void runRightsCommand(GuiWindow& w, int command, const char* numbers = "") {
    onNextDialog<gui::CDlgRightMan>([command, numbers](gui::CDlgRightMan* d) {
        d->numbersEdit()->setPlainText(numbers);
        d->commandButton(command)->click();
    });
    w.c().rights->click();
}

// Presses OK (or Cancel) of the dialog's button box.
inline void press(QDialog* dialog, bool ok = true) {
    for (auto* box : dialog->findChildren<QDialogButtonBox*>())
        if (QPushButton* b = box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel))
            return b->click();
}

} // namespace quorvane::test
