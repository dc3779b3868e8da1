#include "plugins/execsh.h"

#include "foundation/Log.h"
#include "foundation/ProcessRunner.h"
#include "foundation/Strings.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool isIdentifier(const QString &name)
{
    return matches(name, u"^[A-Za-z_][A-Za-z0-9_]*$"_s);
}

// Names that change what the shell, the dynamic loader or an interpreter started by the
// script does before the script's first line: never set from a context.
bool isActedOnByTheSystem(const QString &name)
{
    if (name.startsWith(CapturedPrefix) || name.startsWith(ResultPrefix) || name.startsWith(LogPrefix))
        return false;
    static const QStringList names = {
        u"ENV"_s, u"BASH_ENV"_s, u"IFS"_s, u"PS4"_s, u"SHELLOPTS"_s, u"BASHOPTS"_s,
        u"GLOBIGNORE"_s, u"PERL5OPT"_s, u"PERL5LIB"_s, u"PERLLIB"_s, u"RUBYOPT"_s,
        u"RUBYLIB"_s, u"NODE_OPTIONS"_s, u"GLIBC_TUNABLES"_s, u"HOSTALIASES"_s, u"TMPDIR"_s};
    static const QStringList prefixes = {u"LD_"_s, u"MALLOC_"_s, u"PYTHON"_s, u"GCONV"_s};
    if (names.contains(name) || name.endsWith(u"PATH"_s))
        return true;
    for (const QString &prefix : prefixes) {
        if (name.startsWith(prefix))
            return true;
    }
    return false;
}

// The longest start of `utf8` of at most `limit` bytes that ends on a character boundary.
qsizetype boundaryAtOrBefore(const QByteArray &utf8, qsizetype limit)
{
    qsizetype end = std::min(limit, utf8.size());
    while (end > 0 && end < utf8.size() && (uchar(utf8.at(end)) & 0xC0) == 0x80)
        --end;
    return end;
}

} // namespace

ShellEnvironment ShellEnvironment::fromContext(const Context &context)
{
    ShellEnvironment environment;
    qsizetype total = 0;
    for (auto it = context.cbegin(); it != context.cend(); ++it) {
        const QString &name = it.key();
        if (name == CTX_TEXT)
            continue;
        if (!isIdentifier(name) || isActedOnByTheSystem(name)) {
            environment.leftOut.append(name);
            continue;
        }
        QByteArray value = it.value().toUtf8();
        const qsizetype nul = value.indexOf('\0');
        const qsizetype budget = std::max<qsizetype>(0, std::min(MaximumValueBytes,
                                                                 MaximumTotalBytes - total));
        const qsizetype limit = nul >= 0 ? std::min(nul, budget) : budget;
        if (value.size() > limit) {
            value.truncate(boundaryAtOrBefore(value, limit));
            environment.cutKeys.append(name);
        }
        total += value.size();
        environment.entries.append(name + u'=' + QString::fromUtf8(value));
    }
    if (!environment.cutKeys.isEmpty())
        environment.entries.append(u"GLIMRA_CUT_KEYS="_s + environment.cutKeys.join(u' '));
    return environment;
}

std::optional<QStringList> execsh(ProgramRunner &runner, const QString &scriptFile, const Context &context,
                                  const QString &verb, const QString &label,
                                  std::chrono::milliseconds timeout, QString *failure, ScriptRun *run)
{
    ProcessRequest request;
    request.program = u"/bin/ksh"_s;
    request.arguments = {scriptFile, verb};
    if (!label.isEmpty())
        request.arguments.append(label);
    const ShellEnvironment environment = ShellEnvironment::fromContext(context);
    if (!environment.leftOut.isEmpty())
        qCDebug(lcPlugins) << "not passed to" << scriptFile << ":" << environment.leftOut;
    request.environment = environment.entries;
    request.input = context.value(CTX_TEXT).toUtf8();
    request.timeout = timeout;
    request.forwardStandardError = run == nullptr;

    const ProcessResult result = runner.run(request);
    if (run)
        *run = ScriptRun::from(result);
    if (!result.succeeded()) {
        if (failure)
            *failure = result.failureDescription();
        return std::nullopt;
    }
    if (result.standardOutput.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString output = decoder.decode(result.standardOutput);
    if (decoder.hasError())
        return std::nullopt;
    return split(output, u"\n"_s);
}

} // namespace glimra
