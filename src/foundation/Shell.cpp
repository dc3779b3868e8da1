#include "foundation/Shell.h"

using namespace Qt::StringLiterals;

namespace glimra {

QString pipe_program(ProgramRunner &runner, const QString &input, const QString &program, const QStringList &arguments,
                     std::chrono::milliseconds timeout, QString *failure,
                     const std::optional<QStringList> &environment)
{
    ProcessRequest request;
    request.program = program;
    request.environment = environment;
    request.arguments = arguments;
    request.input = input.toUtf8();
    request.timeout = timeout;
    const ProcessResult result = runner.run(request);
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

QString shellQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', u"'\\''"_s);
    return u'\'' + quoted + u'\'';
}

} // namespace glimra
