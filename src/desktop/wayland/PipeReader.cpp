#include "PipeReader.h"

#include "EventLoopWait.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace glimra {

namespace {

enum class Step { More, Wait, End, Error };

// Reads what is there now into `data`; stops early once it holds more than `maximum`.
Step readAvailable(int fd, QByteArray &data, qsizetype maximum)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            data.append(buffer, n);
            if (data.size() > maximum)
                return Step::More;
            continue;
        }
        if (n == 0)
            return Step::End;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? Step::Wait : Step::Error;
    }
}

} // namespace

PipeReader::Result PipeReader::readAll(int fd, QDeadlineTimer deadline, qsizetype maximum)
{
    Result result;
    if (fd < 0)
        return result;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    bool readable = true;
    QObject::connect(&notifier, &QSocketNotifier::activated, [&readable] { readable = true; });
    for (;;) {
        const Step step = readAvailable(fd, result.data, maximum);
        if (result.data.size() > maximum) {
            result.status = Status::TooLarge;
            break;
        }
        if (step == Step::End || step == Step::Error) {
            result.status = step == Step::End ? Status::Complete : Status::Failed;
            break;
        }
        readable = false;
        if (!waitWithEventLoop([&readable] { return readable; }, deadline)) {
            result.status = Status::TimedOut;
            break;
        }
    }
    notifier.setEnabled(false);
    ::close(fd);
    return result;
}

} // namespace glimra
