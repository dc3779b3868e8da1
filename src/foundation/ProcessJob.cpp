#include "foundation/ProcessJob.h"

#include "foundation/Log.h"
#include "foundation/ProcessRunner_p.h"

#include <QCoreApplication>

namespace glimra {

using namespace processes;

ProcessJob *ProcessJob::start(const ProcessRequest &request, Done done)
{
    return new ProcessJob(request, std::move(done));
}

ProcessJob::ProcessJob(const ProcessRequest &request, Done done)
    : QObject(QCoreApplication::instance()), m_request(request), m_done(std::move(done))
{
    configure(m_process, m_request);
    auto check = [this] {
        if (!m_ended && !collect(m_process, m_request, m_result))
            end(false, false, true);
    };
    connect(&m_process, &QProcess::readyReadStandardOutput, this, check);
    connect(&m_process, &QProcess::readyReadStandardError, this, check);
    connect(&m_process, &QProcess::started, this, [this] {
        m_result.started = true;
        if (!m_request.input.isEmpty())
            m_process.write(m_request.input);
        m_process.closeWriteChannel();
    });
    connect(&m_process, &QProcess::finished, this, [this] {
        if (m_ended)
            return;
        const bool fits = collect(m_process, m_request, m_result);
        end(fits, false, !fits);
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && !m_ended) {
            qCDebug(lcFoundation) << "could not start" << m_request.program << m_process.errorString();
            m_ended = true;
            QTimer::singleShot(0, this, [this] { // heard on a later turn, as promised
                if (m_done)
                    m_done(m_result);
                deleteLater();
            });
        }
    });
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (!m_ended) {
            qCDebug(lcFoundation) << m_request.program << "overran its time bound; killed";
            end(false, true, false);
        }
    });
    m_deadline.start(m_request.timeout);
    m_process.start(QIODevice::ReadWrite);
}

ProcessJob::~ProcessJob()
{
    // The application ends before the child: nobody is left to hear it, and it must not
    // outlive us.
    if (!m_ended && m_result.started)
        conclude(m_process, m_result, false, false, true, false);
}

void ProcessJob::end(bool finished, bool timedOut, bool overflowed)
{
    m_ended = true;
    m_deadline.stop();
    conclude(m_process, m_result, finished, timedOut, false, overflowed);
    if (m_done)
        m_done(m_result);
    deleteLater();
}

} // namespace glimra
