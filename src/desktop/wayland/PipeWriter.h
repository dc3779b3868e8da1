#pragma once

#include <QByteArray>
#include <QObject>

#include <chrono>

class QSocketNotifier;

namespace glimra {

/// Hands data to a program that reads it from a pipe (a selection this program serves),
/// as fast as the reader takes it, without ever waiting for it: the writing goes on from
/// the event loop, and a reader that stops reading is given up on after a time bound. A
/// reader that goes away never raises SIGPIPE.
class PipeWriter : public QObject
{
    Q_OBJECT
public:
    /// Writes `data` into `fd` (which it closes when done) in the background.
    static void start(int fd, const QByteArray &data, std::chrono::milliseconds timeout);

private:
    PipeWriter(int fd, const QByteArray &data);
    ~PipeWriter() override;
    void writeMore();

    int m_fd;
    QByteArray m_data;
    qsizetype m_written = 0;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace glimra
