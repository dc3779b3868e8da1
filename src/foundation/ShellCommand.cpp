#include "foundation/ShellCommand.h"

#include "foundation/Shell.h"
#include "foundation/Strings.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

QString ShellCommand::line(const QString &command, const std::optional<QString> &folder)
{
    if (!folder)
        return command;
    // A folder named "-x" is a folder, not an option of cd ("--"), and one named "-" is not
    // the previous folder (a relative path is written from "./").
    QString path = *folder;
    if (!path.startsWith(u'/'))
        path.prepend(u"./"_s);
    return u"cd -- %1 || exit 126;%2"_s.arg(shellQuote(path), command);
}

QString ShellCommand::whyNotIn(const std::optional<QString> &folder)
{
    if (!folder)
        return {};
    const QByteArray path = QFile::encodeName(*folder);
    struct stat status {};
    const int failed = ::stat(path.constData(), &status) != 0 ? errno
        : !S_ISDIR(status.st_mode)                            ? ENOTDIR
        : ::access(path.constData(), X_OK) != 0               ? errno
                                                              : 0;
    if (!failed)
        return {};
    return u"the folder %1 cannot be entered: %2"_s.arg(*folder, QString::fromLocal8Bit(std::strerror(failed)));
}

ProcessRequest ShellCommand::request(const QString &command, const std::optional<QString> &folder)
{
    ProcessRequest request;
    request.program = u"/bin/sh"_s;
    request.arguments = {u"-c"_s, line(command, folder)};
    request.timeout = TimeBound;
    return request;
}

QString ShellCommand::output(const ProcessResult &result)
{
    if (!result.started || result.timedOut || result.cancelled)
        return {};
    const QString text = trim(QString::fromUtf8(result.standardOutput));
    // Printed only white space: as if nothing, as the output with its last line break cut
    // and then trimmed was before.
    if (result.standardOutput.isEmpty() || result.standardOutput == "\n")
        return {};
    return text;
}

} // namespace glimra
