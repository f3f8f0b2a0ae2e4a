#include "app/qt_user_port.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QThread>

#include "app/long_message.h"
#include "app/pumped_wait.h"
#include "platform/process.h"

namespace quorvane::gui {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

bool onWindowThread() {
    return QThread::currentThread() == qApp->thread();
}

} // namespace

QString qtFileFilter(const std::string& filter) {
    QStringList parts = q(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        // "*.*" means every file; on this system it would skip names without a dot.
        patterns.replace("*.*", "*");
        // Qt adds the patterns in brackets itself; a description that already ends with them
        // ("TXT Files(*.txt)") would show them twice.
        QString description = parts[i];
        if (description.endsWith(')') && description.contains('('))
            description.truncate(description.lastIndexOf('('));
        entries << description.trimmed() + " (" + patterns.replace(';', ' ') + ")";
    }
    return entries.join(";;");
}

QtUserPort::QtUserPort() = default;

void QtUserPort::setWindow(QWidget* window) {
    window_ = window;
}

void QtUserPort::onGuiThread(const std::function<void()>& f) {
    if (onWindowThread())
        f();
    else
        QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
}

void QtUserPort::showNotice(const std::string& text) {
    QString t = q(text);
    if (onWindowThread())
        enqueueNotice(t);
    else
        QMetaObject::invokeMethod(
            this, [this, t] { enqueueNotice(t); }, Qt::QueuedConnection);
}

void QtUserPort::enqueueNotice(const QString& text) {
    notices_.push_back(text);
    if (!noticeBox_)
        showNextNotice();
}

// A notice answers something the person did, perhaps in another window meanwhile: the main
// window comes forward first so the box is not lost behind it.
void QtUserPort::bringWindowForward() {
    if (!window_)
        return;
    if (window_->isMinimized())
        window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->raise();
    window_->activateWindow();
}

void QtUserPort::showNextNotice() {
    if (notices_.empty())
        return;
    QString text = notices_.front();
    notices_.pop_front();
    bringWindowForward();
    auto* box = new QMessageBox(QMessageBox::Information, "系统", text, QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this] {
        noticeBox_ = nullptr;
        QMetaObject::invokeMethod(
            this, [this] { showNextNotice(); }, Qt::QueuedConnection);
    });
    noticeBox_ = box;
    box->open();
    emit noticeShown(text);
}

void QtUserPort::showMessage(const std::string& text, const std::string& title) {
    onGuiThread([&] {
        QString caption = title.empty() && window_ ? window_->windowTitle() : q(title);
        if (needsScrolling(q(text)))
            showLongMessage(window_, caption, q(text));
        else
            QMessageBox::information(window_, caption, q(text));
    });
}

bool QtUserPort::askYesNo(const std::string& text) {
    return askYesNoWith(text, false);
}

bool QtUserPort::askYesNoDefaultNo(const std::string& text) {
    return askYesNoWith(text, true);
}

bool QtUserPort::askYesNoWith(const std::string& text, bool noIsDefault) {
    bool yes = false;
    onGuiThread([&] {
        yes = QMessageBox::question(window_, window_ ? window_->windowTitle() : QString(), q(text),
                                    QMessageBox::Yes | QMessageBox::No,
                                    noIsDefault ? QMessageBox::No : QMessageBox::NoButton) ==
              QMessageBox::Yes;
    });
    return yes;
}

Answer QtUserPort::askYesNoCancel(const std::string& text) {
    Answer answer = Answer::Cancel;
    onGuiThread([&] {
        auto b =
            QMessageBox::question(window_, window_ ? window_->windowTitle() : QString(), q(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        answer = b == QMessageBox::Yes  ? Answer::Yes
                 : b == QMessageBox::No ? Answer::No
                                        : Answer::Cancel;
    });
    return answer;
}

void QtUserPort::progress(const std::string& text, long done, long total) {
    QString t = q(text);
    auto show = [this, t, done, total] { showProgress(t, done, total); };
    if (onWindowThread())
        show();
    else
        QMetaObject::invokeMethod(this, show, Qt::QueuedConnection);
}

// The text with "done/total" goes to the window's status field; during a busy period the
// progress dialog shows it too, with a bar (moving without end when the total is unknown).
void QtUserPort::showProgress(const QString& text, long done, long total) {
    const QString line = total > 0 ? QString("%1 %2/%3").arg(text).arg(done).arg(total) : text;
    if (progressSink_)
        progressSink_(line);
    if (busyDepth_ == 0)
        return;
    if (!progress_) {
        // A window of its own: disabling the main window's controls leaves its Cancel usable.
        progress_ = new QProgressDialog(window_);
        progress_->setObjectName("progress");
        progress_->setWindowModality(Qt::NonModal);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(0);
        progress_->setCancelButtonText(QString::fromUtf8("取消"));
        if (window_)
            progress_->setWindowTitle(window_->windowTitle());
        connect(progress_, &QProgressDialog::canceled, this, [this] {
            cancelled_ = true;
            if (progress_)
                progress_->setLabelText(QString::fromUtf8("正在取消……"));
        });
    }
    // Values beyond int are scaled so that the bar still shows the share done.
    const long scale = total > 1000000 ? total / 1000000 + 1 : 1;
    progress_->setMaximum(static_cast<int>(total > 0 ? total / scale : 0));
    progress_->setValue(static_cast<int>(total > 0 ? std::clamp(done, 0L, total) / scale : 0));
    if (!cancelled_)
        progress_->setLabelText(line);
    progress_->show();
}

std::optional<std::string> QtUserPort::pickOpenFile(const std::string& filter) {
    std::optional<std::string> picked;
    onGuiThread([&] {
        QString f = QFileDialog::getOpenFileName(window_, {}, {}, qtFileFilter(filter));
        if (!f.isEmpty())
            picked = f.toStdString();
    });
    return picked;
}

std::optional<std::string> QtUserPort::pickSaveFile(const std::string& defaultExt,
                                                    const std::string& filter,
                                                    const std::string& defaultName) {
    std::optional<std::string> picked;
    onGuiThread([&] {
        QString f = QFileDialog::getSaveFileName(window_, {}, q(defaultName), qtFileFilter(filter));
        if (f.isEmpty())
            return;
        QString ext = q(defaultExt);
        if (!ext.isEmpty() && QFileInfo(f).suffix().isEmpty())
            f += ext.startsWith('.') ? ext : "." + ext;
        picked = f.toStdString();
    });
    return picked;
}

void QtUserPort::openDocument(const std::string& path, bool wait) {
    if (!wait) {
        platform::runProgram({}, path, {}, false, true);
        return;
    }
    WinDisabler busy(*this);
    runWithoutFreezing([&] { platform::runProgram({}, path, {}, true, true); });
}

void QtUserPort::beginBusy() {
    auto begin = [this] {
        if (busyDepth_++ == 0) {
            cancelled_ = false;
            disableWindow();
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    };
    if (onWindowThread())
        begin();
    else
        QMetaObject::invokeMethod(this, begin, Qt::QueuedConnection);
}

void QtUserPort::endBusy() {
    auto end = [this] {
        if (busyDepth_ > 0 && --busyDepth_ == 0) {
            if (progress_)
                progress_->deleteLater();
            progress_ = nullptr;
            // The run is over: a count left in the status field would read as work going on.
            if (progressSink_)
                progressSink_({});
            QApplication::restoreOverrideCursor();
            restoreWindow();
        }
    };
    if (onWindowThread())
        end();
    else
        QMetaObject::invokeMethod(this, end, Qt::QueuedConnection);
}

// Disables each control that is enabled now and remembers it, so the end of the busy period
// re-enables exactly those and leaves the ones an operation rule had disabled.
void QtUserPort::disableWindow() {
    disabled_.clear();
    if (!window_)
        return;
    // Only the window's own controls: a dialog it owns (the progress dialog with its Cancel, a
    // notice box) stays usable.
    for (QWidget* w : window_->findChildren<QWidget*>()) {
        if (w->window() != window_ || w->testAttribute(Qt::WA_Disabled))
            continue;
        disabled_.emplace_back(w);
    }
    for (auto& w : disabled_)
        w->setEnabled(false);
    window_->raise();
}

void QtUserPort::restoreWindow() {
    for (auto& w : disabled_)
        if (w)
            w->setEnabled(true);
    disabled_.clear();
    if (window_)
        window_->raise();
}

void QtUserPort::runBlocking(const std::function<void()>& work) {
    runWithoutFreezing(work);
}

void QtUserPort::pumpEvents() {
    if (onWindowThread())
        QCoreApplication::processEvents();
}

} // namespace quorvane::gui
