#include "EventLoopWait.h"

#include <QCoreApplication>
#include <QTimer>

namespace glimra {

bool waitWithEventLoop(const std::function<bool()> &done, QDeadlineTimer deadline)
{
    // The timer only wakes the loop when nothing else does before the deadline.
    QTimer wake;
    wake.setSingleShot(true);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        const qint64 hour = 60 * 60 * 1000;
        wake.start(int(deadline.isForever() ? hour : qBound<qint64>(0, deadline.remainingTime(), hour)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace glimra
