#pragma once
// Shared pieces of the window tests: a program directory whose settings keep every packet on
// this machine, and a catcher that answers the window's message boxes and remembers them.
#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include "infra/codepage.h"
#include "session/start_gate.h"
#include "test_paths.h"

namespace quorvane::test {

// Searches go to 127.0.0.1 in broadcast mode, multicast is off and no group is joined, the
// pipe is off, nothing is searched at start, and the gate is remembered unless asked not to.
inline std::string makeGuiHome(const std::string& name, const std::string& extraConfig = {},
                               bool remembered = true) {
    std::string home = scratchDir(name);
    const std::string xstr = startPasswordDigest("720418");
    std::string config = "[net]\nenable-mcast=0\nsearch-on-start=0\nenable-pipe=0\n"
                         "local-admin-ip=127.0.0.1\nmcast-local-address=127.0.0.1\n"
                         "common-broadcast-address=2130706433\ncommon-dev-admin-port=65534\n"
                         "[db]\nxstr=" +
                         xstr + "\n";
    if (remembered)
        config += "xstr-rem=" + rememberMarker(xstr) + "\n";
    config += extraConfig;
    writeFile(home + "/config.ini", toGbk(config));
    return home;
}

// Answers every message box that opens (with the given button) and records its text.
class MessageBoxCatcher {
  public:
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : answer_(answer) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    void setAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }
    const std::vector<QString>& texts() const { return texts_; }
    std::vector<QString>& titles() { return titles_; }

  private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible())
                continue;
            texts_.push_back(box->text());
            titles_.push_back(box->windowTitle());
            QAbstractButton* b = box->button(answer_);
            if (!b)
                b = box->buttons().value(0);
            b->click();
        }
    }

    QTimer timer_;
    QMessageBox::StandardButton answer_;
    std::vector<QString> texts_;
    std::vector<QString> titles_;
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

} // namespace quorvane::test
