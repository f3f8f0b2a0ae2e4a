#pragma once
// Reads of the PC's own identity-card reader for the rights dialog. A read may block for
// seconds, so it runs on a worker thread, one at a time, and its number comes back to the
// window's thread as a signal. The object lives as long as the main window: a dialog that
// closes while a read runs just stops listening, and the window's end waits for that last
// read (its thread is joined, never left running).
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include <QObject>
#include <QString>

namespace quorvane::gui {

class LocalCardReads : public QObject {
    Q_OBJECT
  public:
    // One read: a card number (UTF-8), or nothing when no card was there. Called on the worker
    // thread, possibly after the dialog that asked has closed: it must own what it uses.
    using Reader = std::function<std::optional<std::string>()>;

    LocalCardReads() = default;
    ~LocalCardReads() override;
    LocalCardReads(const LocalCardReads&) = delete;
    LocalCardReads& operator=(const LocalCardReads&) = delete;

    // Used from the next read on (a read that runs keeps its own copy).
    void setReader(Reader reader) { reader_ = std::move(reader); }
    bool hasReader() const { return static_cast<bool>(reader_); }
    // True between start and finished (window thread only).
    bool running() const { return running_; }

    // Starts a read; false when there is no reader or a read still runs.
    bool start();

  signals:
    // On the window's thread when the read returned; empty when it gave no number.
    void finished(const QString& number);

  private:
    void done(const QString& number);

    Reader reader_;
    std::thread worker_;
    bool running_ = false;
};

} // namespace quorvane::gui
