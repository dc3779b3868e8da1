#pragma once

#include "foundation/ProgramRunner.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

#include <functional>

namespace glimra::test {

/// A program runner for what cannot be produced for real: it finds only the programs it was
/// told are installed, writes down each run ("program arg arg") and launch, and answers a run
/// with `answer` (standard output handed over piece by piece where the request asks so).
/// Runs may come from other threads.
class RecordingRunner : public ProgramRunner
{
public:
    QString find(const QString &name) const override { return installed.value(name); }
    ProcessResult run(const ProcessRequest &request) override
    {
        ProcessResult result = answer ? answer(request) : ProcessResult{};
        QMutexLocker lock(&m_mutex);
        m_runs.append((QStringList{request.program} + request.arguments).join(u' '));
        lock.unlock();
        if (request.onStandardOutput && result.started) {
            request.onStandardOutput(result.standardOutput);
            result.standardOutput.clear();
        }
        return result;
    }
    void launch(const QString &program, const QStringList &arguments, const QString &folder,
                const Completion &done, const Launcher::StatusMeaning &) override
    {
        launches.append((QStringList{program} + arguments).join(u' ') + QStringLiteral(" in ") + folder);
        complete(done, launchFailure.isNull() ? Outcome() : Outcome::failure(launchFailure));
    }
    QStringList runs() const
    {
        QMutexLocker lock(&m_mutex);
        return m_runs;
    }
    /// A run that exited with status 0 after printing `output`.
    static ProcessResult printed(const QByteArray &output)
    {
        ProcessResult result;
        result.started = result.normalExit = true;
        result.exitCode = 0;
        result.standardOutput = output;
        return result;
    }

    /// Program name → the path find() gives.
    QHash<QString, QString> installed;
    std::function<ProcessResult(const ProcessRequest &)> answer;
    QStringList launches;
    /// Why a launch fails; null: it succeeds.
    QString launchFailure;

private:
    mutable QMutex m_mutex;
    QStringList m_runs;
};

} // namespace glimra::test
