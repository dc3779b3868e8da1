#pragma once

#include "foundation/ProcessRunner.h"

#include <QString>
#include <QStringList>

namespace glimra {

/// How a script plug-in's last run ended, for a guess that is explained: "it exited with status 1",
/// "ran too long and was stopped", and the first lines it wrote to standard error.
struct ScriptRun
{
    static constexpr int KeptErrorLines = 5;

    bool ran = false;
    QString ending;
    QStringList errorLines;

    static ScriptRun from(const ProcessResult &result)
    {
        ScriptRun run;
        run.ran = true;
        run.ending = result.succeeded() ? QStringLiteral("it exited with status 0") : result.failureDescription();
        const QString errors = QString::fromUtf8(result.standardError);
        run.errorLines = errors.split(u'\n', Qt::SkipEmptyParts).mid(0, KeptErrorLines);
        return run;
    }
};

} // namespace glimra
