#include "actions/MimeDefaultApplication.h"

#include "actions/CommandTemplate.h"
#include "foundation/Log.h"
#include "foundation/ProgramRunner.h"
#include "foundation/ScriptFile.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr std::chrono::seconds XdgMimeTimeout{2};

// The first line of xdg-mime's answer, trimmed; empty when it failed or overran.
QString askXdgMime(ProgramRunner &runner, const QStringList &arguments)
{
    ProcessRequest request;
    request.program = u"xdg-mime"_s;
    request.arguments = arguments;
    request.timeout = XdgMimeTimeout;
    const ProcessResult result = runner.run(request);
    if (!result.succeeded()) {
        qCInfo(lcActions).noquote() << u"xdg-mime %1: %2"_s.arg(arguments.join(u' '),
                                                               result.failureDescription());
        return {};
    }
    return QString::fromUtf8(result.standardOutput).section(u'\n', 0, 0).trimmed();
}

// The Exec value of the main group of the desktop entry `id`, as written; null when none.
// The entry is read only when it is a small regular file: a FIFO put there never hangs us.
QString execValue(const QString &id)
{
    const QString path =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, u"applications/"_s + id);
    const std::optional<QByteArray> contents =
        path.isEmpty() ? std::nullopt : ScriptFile::read(path);
    if (!contents)
        return {};
    bool inMainGroup = false;
    for (const QByteArray &raw : contents->split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            inMainGroup = line == u"[Desktop Entry]"_s;
        else if (inMainGroup && line.startsWith(u"Exec="_s))
            return line.mid(5);
    }
    return {};
}

// A desktop entry's value with its escapes (\s, \n, \t, \r, \\) undone; the Exec line's own
// quoting comes after this.
QString unescapedValue(const QString &value)
{
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
        const qsizetype escape = value[i] == u'\\' ? QStringView(u"sntr\\").indexOf(next) : -1;
        if (escape < 0) {
            result += value[i];
        } else {
            result += QStringView(u" \n\t\r\\")[escape];
            ++i;
        }
    }
    return result;
}

// The Exec words without the field codes that a launcher fills in (the file goes in
// arguments of its own here); "%%" stands for "%".
QStringList withoutFieldCodes(const QStringList &words)
{
    static const QStringList fieldCodes{u"%f"_s, u"%F"_s, u"%u"_s, u"%U"_s, u"%d"_s,
                                        u"%D"_s, u"%n"_s, u"%N"_s, u"%i"_s, u"%c"_s,
                                        u"%k"_s, u"%v"_s, u"%m"_s};
    QStringList result;
    for (const QString &word : words) {
        if (!fieldCodes.contains(word))
            result.append(QString(word).replace(u"%%"_s, u"%"_s));
    }
    return result;
}

} // namespace

std::optional<QStringList> MimeDefaultApplication::commandForFile(const QString &file, ProgramRunner &runner)
{
    const QString type = askXdgMime(runner, {u"query"_s, u"filetype"_s, file});
    const QString id = type.isEmpty() ? QString() : askXdgMime(runner, {u"query"_s, u"default"_s, type});
    if (id.isEmpty())
        return std::nullopt;
    const std::optional<CommandTemplate> exec =
        CommandTemplate::parse(unescapedValue(execValue(id)));
    if (!exec || exec->isEmpty())
        return std::nullopt;
    return withoutFieldCodes(exec->words());
}

} // namespace glimra
