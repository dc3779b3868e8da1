#include "cli/CommandLine.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace glimra {

CommandLine::CommandLine(const QString &command, const QStringList &arguments)
    : m_command(command), m_arguments(arguments), m_out(stdout), m_err(stderr)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

bool CommandLine::parse()
{
    if (m_parser.parse(QStringList{u"glimra "_s + m_command} + m_arguments))
        return true;
    usageError(m_parser.errorText());
    return false;
}

int CommandLine::usageError(const QString &message)
{
    m_err << u"glimra %1: %2\n"_s.arg(m_command, message);
    m_err.flush();
    return UsageError;
}

} // namespace glimra
