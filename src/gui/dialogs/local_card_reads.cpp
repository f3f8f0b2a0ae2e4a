#include "dialogs/local_card_reads.h"

namespace quorvane::gui {

LocalCardReads::~LocalCardReads() {
    // The worker may post its result while this waits: ~QObject drops such posted calls.
    if (worker_.joinable())
        worker_.join();
}

bool LocalCardReads::start() {
    if (running_ || !reader_)
        return false;
    if (worker_.joinable())
        worker_.join(); // the last read has returned already: this does not wait
    running_ = true;
    worker_ = std::thread([this, reader = reader_] {
        QString number;
        try {
            if (auto n = reader())
                number = QString::fromStdString(*n);
        } catch (...) {
            // A reader that fails gives no number; the dialog asks again a second later.
        }
        QMetaObject::invokeMethod(
            this, [this, number] { done(number); }, Qt::QueuedConnection);
    });
    return true;
}

void LocalCardReads::done(const QString& number) {
    running_ = false;
    emit finished(number);
}

} // namespace quorvane::gui
