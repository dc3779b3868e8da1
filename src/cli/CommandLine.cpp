#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// One form of a command: its synopsis, which begins with the command's name (with a line
// break where it is too long for one line), and what it does.
struct Form
{
    QStringView synopsis;
    QStringView summary;

    bool isOf(QStringView command) const { return synopsis.left(synopsis.indexOf(u' ')) == command; }
};

constexpr Form Forms[] = {
    {u"(no command)", u"start the desktop application, or show the panel of\nthe one that runs"},
    {u"show", u"show the results panel of the running application"},
    {u"quit", u"ask the running application to quit"},
    {u"match [--text TEXT | --text-file FILE] [--context KEY=VALUE]... [--wait SECONDS]\n"
     u"[--run LABEL] [--run-commands] [--json]", u"guess a text (standard input by default)"},
    {u"guess [--wait SECONDS] [--json]", u"guess the selection of the front-most application"},
    {u"clipboard [--wait SECONDS] [--json]", u"guess the clipboard"},
    {u"service [--wait SECONDS] [--json]", u"guess standard input as a Services request"},
    {u"defaults read [KEY] | write KEY JSON | delete KEY", u"read and change the settings"},
    {u"shortcut install | remove", u"bind the shortcuts in the desktop's own settings\n(where no program may grab a key), or unbind them"},
    {u"doctor [--json]", u"how this desktop lets Glimra read the selection,\nknow the front window, type and bind its shortcut"},
    {u"keys CHORD...", u"type keys (\"ctrl+v\") into the focused window of a\nWayland desktop, for scripts"},
    {u"plugins list [--json]", u"list the matchers and actions"},
    {u"plugins new matcher|action NAME [--kind KIND] [--no-open]",
     u"create a plug-in from its template"},
    {u"call guess [--file F] [--url U] [--text T] [--app NAME] [--json]",
     u"the scripting guess (through the running Glimra)"},
    {u"regexp match|multiple|split TEXT PATTERN [--json]", u"the regular-expression operations"},
    {u"preferences [PAGE]", u"the preferences window (PAGE: general, rules,\ncontext, search or plugins)"},
    {u"help [actions]", u"the manual, or the actions document"},
    {u"--verbose <command> ...", u"log the details of each step on standard error"},
    {u"-h, --help", u"this text; with a command: its options"},
    {u"--version", u"the program's version"},
};

// Where the overview's summaries begin.
constexpr qsizetype SummaryColumn = 34;

// `text` with every line after the first indented by `indent` spaces.
QString indented(QStringView text, qsizetype indent)
{
    return text.toString().replace(u'\n', u'\n' + QString(indent, u' '));
}

// `synopsis` after `lead`, its later lines lined up with the first word's arguments.
QString synopsisAfter(const QString &lead, QStringView synopsis)
{
    return lead + indented(synopsis, lead.size() + synopsis.indexOf(u' ') + 1);
}

} // namespace

CommandLine::CommandLine(const QString &command, const QStringList &arguments)
    : m_command(command),
      m_arguments(arguments),
      m_outDevice(STDOUT_FILENO),
      m_errDevice(STDERR_FILENO),
      m_out(&m_outDevice),
      m_err(&m_errDevice)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption({{u"h"_s, u"help"_s}, u"Show this help."_s});
}

QString CommandLine::overview()
{
    QString text = u"usage: glimra [<command> [options]]\n\n"_s;
    for (const Form &form : Forms) {
        const QString synopsis = synopsisAfter(u"  "_s, form.synopsis);
        const qsizetype lastLine = synopsis.size() - synopsis.lastIndexOf(u'\n') - 1;
        const QString gap = lastLine + 2 <= SummaryColumn ? QString(SummaryColumn - lastLine, u' ')
                                                          : u'\n' + QString(SummaryColumn, u' ');
        text += synopsis + gap + indented(form.summary, SummaryColumn) + u'\n';
    }
    return text;
}

QString CommandLine::helpText() const
{
    QString synopses;
    QString summaries;
    for (const Form &form : Forms) {
        if (!form.isOf(m_command))
            continue;
        synopses += synopsisAfter(synopses.isEmpty() ? u"usage: glimra "_s : u"       glimra "_s,
                                  form.synopsis) + u'\n';
        summaries += form.summary.toString() + u'\n';
    }
    // Qt's text begins with a usage line of its own: only its lists of options and
    // arguments are kept.
    const QString lists = m_parser.helpText();
    return synopses + u'\n' + summaries + u'\n' + lists.mid(lists.indexOf(u"\n\n"_s) + 2);
}

void CommandLine::nameTheApplication()
{
    QCoreApplication::setApplicationName(u"Glimra"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(GLIMRA_VERSION));
}

bool CommandLine::parse()
{
    if (!m_parser.parse(QStringList{u"glimra "_s + m_command} + m_arguments)) {
        usageError(m_parser.errorText());
        return false;
    }
    // JSON escapes what it must itself, and is read back exactly.
    m_outDevice.setExact(m_parser.optionNames().contains(u"json"_s));
    if (!m_parser.isSet(u"help"_s))
        return true;
    m_out << helpText();
    m_out.flush();
    m_stopStatus = 0;
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
    m_parser.addOption({u"wait"_s, u"Wait at most SECONDS (default 5) for late results."_s, u"SECONDS"_s, u"5"_s});
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
        return m_stopStatus;
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
