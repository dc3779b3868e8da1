#include "foundation/MainLoop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>

namespace glimra {

void sleep_main_loop(double seconds)
{
    const auto duration = std::chrono::milliseconds(qint64(seconds * 1000.0));
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(duration);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace glimra
