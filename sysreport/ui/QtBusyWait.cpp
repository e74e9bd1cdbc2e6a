#include "QtBusyWait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace sysreport {

void QtBusyWait::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || elapsed.hasExpired(limit.count())) {
            loop.quit();
        }
    });
    poll.start(20);
    // Clicks and keys would start another command inside this one.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();
}

}  // namespace sysreport
