#include "foundation/ProgramRunner.h"

#include <QStandardPaths>

namespace glimra {

QString ProgramRunner::find(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
}

ProcessResult ProgramRunner::run(const ProcessRequest &request)
{
    return ProcessRunner::run(request);
}

void ProgramRunner::launch(const QString &program, const QStringList &arguments, const QString &folder,
                           const Completion &done, const Launcher::StatusMeaning &meaning)
{
    Launcher::launch(program, arguments, folder, done, meaning);
}

ProgramRunner &ProgramRunner::standard()
{
    static ProgramRunner runner;
    return runner;
}

} // namespace glimra
