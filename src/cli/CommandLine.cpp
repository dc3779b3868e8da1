#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace glimra {

CommandLine::CommandLine(const QString &command, const QStringList &arguments)
    : m_command(command), m_arguments(arguments), m_out(stdout), m_err(stderr)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

void CommandLine::nameTheApplication()
{
    QCoreApplication::setApplicationName(u"Glimra"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(GLIMRA_VERSION));
}

bool CommandLine::parse()
{
    if (m_parser.parse(QStringList{u"glimra "_s + m_command} + m_arguments))
        return true;
    usageError(m_parser.errorText());
    return false;
}

bool CommandLine::parseOptionsOnly()
{
    if (!parse())
        return false;
    if (m_parser.positionalArguments().isEmpty())
        return true;
    usageError(u"unexpected argument '%1'"_s.arg(m_parser.positionalArguments().first()));
    return false;
}

void CommandLine::addWaitOption()
{
    m_parser.addOption({u"wait"_s, u"Wait at most SECONDS for late results."_s, u"SECONDS"_s, u"5"_s});
}

std::optional<double> CommandLine::waitSeconds()
{
    bool ok = false;
    const double seconds = m_parser.value(u"wait"_s).toDouble(&ok);
    if (ok && seconds >= 0)
        return seconds;
    usageError(u"--wait needs a number of seconds, not '%1'"_s.arg(m_parser.value(u"wait"_s)));
    return std::nullopt;
}

int CommandLine::usageError(const QString &message)
{
    m_err << u"glimra %1: %2\n"_s.arg(m_command, message);
    m_err.flush();
    return UsageError;
}

int CommandLine::runVerb(const QList<Verb> &verbs)
{
    if (!parse())
        return UsageError;
    QStringList names;
    for (const Verb &verb : verbs)
        names.append(verb.first);
    QStringList words = m_parser.positionalArguments();
    if (words.isEmpty())
        return usageError(u"needs %1"_s.arg(names.join(u" or "_s)));
    const QString name = words.takeFirst();
    for (const Verb &verb : verbs) {
        if (verb.first == name)
            return verb.second(words);
    }
    return usageError(u"unknown verb '%1'"_s.arg(name));
}

} // namespace glimra
