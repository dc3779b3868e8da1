#include "PipeWriter.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace glimra {

namespace {

// write() with SIGPIPE held back on this thread: a reader that closed its end gives EPIPE,
// and the signal it raised is taken out of the pending set so that it never reaches the
// program's handlers.
ssize_t writeWithoutSigpipe(int fd, const char *data, size_t size)
{
    sigset_t pipeSignal, previous, pending;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const ssize_t n = ::write(fd, data, size);
    const int error = errno;
    if (n < 0 && error == EPIPE && !alreadyPending) {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return n;
}

} // namespace

void PipeWriter::start(int fd, const QByteArray &data, std::chrono::milliseconds timeout)
{
    auto *writer = new PipeWriter(fd, data);
    QTimer::singleShot(timeout, writer, [writer] { writer->deleteLater(); });
    writer->writeMore();
}

PipeWriter::PipeWriter(int fd, const QByteArray &data)
    : m_fd(fd)
    , m_data(data)
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &PipeWriter::writeMore);
}

PipeWriter::~PipeWriter()
{
    delete m_notifier;
    ::close(m_fd);
}

void PipeWriter::writeMore()
{
    while (m_written < m_data.size()) {
        const ssize_t n = writeWithoutSigpipe(m_fd, m_data.constData() + m_written,
                                              size_t(m_data.size() - m_written));
        if (n > 0) {
            m_written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            m_notifier->setEnabled(true);
            return;
        }
        break; // the reader went away
    }
    m_notifier->setEnabled(false);
    deleteLater();
}

} // namespace glimra
