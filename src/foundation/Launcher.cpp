#include "foundation/Launcher.h"

#include "foundation/Log.h"

#include <QProcess>
#include <QTimer>

#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

void Launcher::launch(const QString &program, const QStringList &arguments, const QString &folder,
                      const Completion &done, const StatusMeaning &meaning)
{
    // No parent, and deleted only once the program has ended: a QProcess destroyed while
    // its program runs would kill it. Left running when we exit.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    if (!folder.isEmpty())
        process->setWorkingDirectory(folder);
    process->setStandardInputFile(QProcess::nullDevice());
    // None of our descriptors: a caller reading our output until it ends ("$(glimra … 2>&1)")
    // would otherwise wait for the editor or browser to be closed.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // A session of its own: no signal meant for us (Ctrl-C in our terminal, our group
    // killed) reaches it.
    process->setChildProcessModifier([] { ::setsid(); });

    auto heard = std::make_shared<bool>(false);
    auto tell = [heard, done](const Outcome &outcome) {
        if (!std::exchange(*heard, true))
            complete(done, outcome);
    };
    QObject::connect(process, &QProcess::errorOccurred, process, [=](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCDebug(lcFoundation) << "could not start" << program << process->errorString();
        tell(Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "%1 could not be started (%2)"),
                              {program, process->errorString()}));
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process, [=](int status, QProcess::ExitStatus how) {
        process->deleteLater();
        if (how == QProcess::NormalExit && status == 0)
            return tell({});
        if (how != QProcess::NormalExit)
            return tell(Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "%1 crashed"), {program}));
        const char *explained = meaning ? meaning(status) : nullptr;
        if (!explained)
            return tell(Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "%1 exited with status %2"),
                                         {program, QString::number(status)}));
        tell(Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "%1 exited with status %2: %3"),
                              {program, QString::number(status), Phrase::of("glimra::Outcome", explained)}));
    });
    // Still running when the wait is over: it started and works; it is let go.
    QTimer::singleShot(LaunchWait, Qt::PreciseTimer, process, [tell] { tell({}); });
    process->start();
}

} // namespace glimra
