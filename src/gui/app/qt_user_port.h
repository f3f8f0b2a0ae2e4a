#pragma once
// The window's UserPort. Notices (the "系统" box) may come from the receive thread or the pipe
// worker: they are queued on the window's thread and shown one after the other, so a reply
// never waits for a person. Questions and file picks asked from another thread wait for the
// answer on the window's thread. Progress of a busy period shows in a progress dialog whose
// Cancel button stays usable while the window is disabled.
#include <atomic>
#include <deque>
#include <functional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "session/user_port.h"

#include <QMessageBox>
#include <QProgressDialog>

namespace quorvane::gui {

class QtUserPort : public QObject, public UserPort {
    Q_OBJECT
  public:
    QtUserPort();

    // The window the boxes belong to and that a busy period disables.
    void setWindow(QWidget* window);
    // Where progress texts go (the window's status field).
    void setProgressSink(std::function<void(const QString&)> sink) {
        progressSink_ = std::move(sink);
    }

    void showNotice(const std::string& text) override;
    void showMessage(const std::string& text, const std::string& title = {}) override;
    bool askYesNo(const std::string& text) override;
    bool askYesNoDefaultNo(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    void progress(const std::string& text, long done = 0, long total = 0) override;
    std::optional<std::string> pickOpenFile(const std::string& filter) override;
    std::optional<std::string> pickSaveFile(const std::string& defaultExt,
                                            const std::string& filter,
                                            const std::string& defaultName = {}) override;
    void openDocument(const std::string& path, bool wait) override;
    void beginBusy() override;
    void endBusy() override;
    void pumpEvents() override;
    void runBlocking(const std::function<void()>& work) override;
    // True after the person pressed Cancel in the progress dialog of this busy period.
    bool cancelRequested() override { return cancelled_.load(); }

    // The notice box on screen, if any (tests read and close it), and how many wait behind it.
    QMessageBox* noticeBox() const { return noticeBox_; }
    int queuedNotices() const { return static_cast<int>(notices_.size()); }
    // The progress dialog of the busy period, while it shows.
    QProgressDialog* progressDialog() const { return progress_; }

  signals:
    void noticeShown(const QString& text);

  private:
    // A Yes/No question; without noIsDefault Qt chooses the default button (Yes).
    bool askYesNoWith(const std::string& text, bool noIsDefault);
    // Runs f on the window's thread and waits for it when called from another thread.
    void onGuiThread(const std::function<void()>& f);
    void enqueueNotice(const QString& text);
    void showNextNotice();
    void disableWindow();
    void restoreWindow();
    void showProgress(const QString& text, long done, long total);
    void bringWindowForward();

    QPointer<QWidget> window_;
    std::function<void(const QString&)> progressSink_;
    std::deque<QString> notices_;
    QPointer<QMessageBox> noticeBox_;
    int busyDepth_ = 0;
    std::vector<QPointer<QWidget>> disabled_;
    QPointer<QProgressDialog> progress_;
    std::atomic<bool> cancelled_{false};
};

// "desc|pattern|desc|pattern||" as a Qt file-dialog filter.
QString qtFileFilter(const std::string& filter);

} // namespace quorvane::gui
