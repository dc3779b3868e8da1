#include "foundation/Shell.h"

#include "foundation/ProcessRunner.h"

using namespace Qt::StringLiterals;

namespace glimra {

QString pipe_program(const QString &input, const QString &program, const QStringList &arguments,
                     std::chrono::milliseconds timeout, QString *failure,
                     const std::optional<QStringList> &environment)
{
    ProcessRequest request;
    request.program = program;
    request.environment = environment;
    request.arguments = arguments;
    request.input = input.toUtf8();
    request.timeout = timeout;
    const ProcessResult result = ProcessRunner::run(request);
    if (failure)
        *failure = result.failureDescription();
    if (!result.started || result.timedOut)
        return {};
    QByteArray output = result.standardOutput;
    if (output.endsWith('\n'))
        output.chop(1);
    if (output.isEmpty())
        return {};
    return QString::fromUtf8(output);
}

QString pipe_shell(const QString &input, const QString &command,
                   std::chrono::milliseconds timeout)
{
    return pipe_program(input, u"/bin/sh"_s, {u"-c"_s, command}, timeout);
}

QString eval_shell(const QString &command, std::chrono::milliseconds timeout)
{
    return pipe_shell(QString(), command, timeout);
}

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', u"'\\''"_s);
    return u'\'' + quoted + u'\'';
}

} // namespace glimra
