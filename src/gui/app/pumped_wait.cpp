#include "app/pumped_wait.h"

#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace quorvane::gui {

void runWithoutFreezing(const std::function<void()>& work) {
    if (!qApp || QThread::currentThread() != qApp->thread()) {
        work();
        return;
    }
    QEventLoop loop;
    // A quit posted before the loop runs still ends it: the event waits in the queue.
    std::thread helper([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    helper.join();
}

} // namespace quorvane::gui
