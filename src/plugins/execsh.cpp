#include "plugins/execsh.h"

#include "foundation/ProcessRunner.h"
#include "foundation/Strings.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace glimra {

std::optional<QStringList> execsh(const QString &scriptFile, const Context &context,
                                  const QString &verb, const QString &label,
                                  std::chrono::milliseconds timeout)
{
    ProcessRequest request;
    request.program = u"/bin/ksh"_s;
    request.arguments = {scriptFile, verb};
    if (!label.isEmpty())
        request.arguments.append(label);
    QStringList environment;
    for (auto it = context.cbegin(); it != context.cend(); ++it) {
        // A name holding "=" cannot be a variable.
        if (it.key() != CTX_TEXT && !it.key().isEmpty() && !it.key().contains(u'='))
            environment.append(it.key() + u'=' + it.value());
    }
    request.environment = environment;
    request.input = context.value(CTX_TEXT).toUtf8();
    request.timeout = timeout;
    request.forwardStandardError = true;

    const ProcessResult result = ProcessRunner::run(request);
    if (!result.succeeded() || result.standardOutput.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString output = decoder.decode(result.standardOutput);
    if (decoder.hasError())
        return std::nullopt;
    return split(output, u"\n"_s);
}

} // namespace glimra
