#pragma once

#include <QByteArray>
#include <QDeadlineTimer>

namespace glimra {

/// Reads what another program writes into a pipe (a selection it serves), with the event
/// loop running meanwhile: until the writer closes its end, the deadline passes or more
/// than a given size arrived.
class PipeReader
{
public:
    enum class Status { Complete, TimedOut, TooLarge, Failed };
    struct Result
    {
        QByteArray data; ///< what arrived, complete or not
        Status status = Status::Failed;
    };

    /// Reads `fd` (which it closes) to its end.
    static Result readAll(int fd, QDeadlineTimer deadline, qsizetype maximum);
};

} // namespace glimra
