#pragma once

#include "cli/TerminalText.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>
#include <utility>

namespace glimra {

/// What every subcommand shares: its parser with -h/--help, the output streams and the
/// usage-error rule (one line naming the problem, exit status 2).
class CommandLine
{
public:
    static constexpr int UsageError = 2;

    CommandLine(const QString &command, const QStringList &arguments);

    /// The program's usage: every command's synopsis and what it does.
    static QString overview();
    /// Names the application object (Glimra, and this build's version).
    static void nameTheApplication();

    QCommandLineParser &parser() { return m_parser; }
    /// Parses; false when the command ends here with stopStatus(): after printing its help
    /// (-h, --help) on standard output, or the problem on standard error.
    bool parse();
    /// Parses a command that takes options only: a word is a usage error too.
    bool parseOptionsOnly();
    /// How a command that parsing stopped ends: 0 after the help, else UsageError.
    int stopStatus() const { return m_stopStatus; }
    /// The command's synopses, what it does, and its options.
    QString helpText() const;

    /// Adds --wait SECONDS (default 5): the longest to wait for results that come later.
    void addWaitOption();
    /// The value of --wait; nullopt after printing the problem when it is not a number of
    /// seconds.
    std::optional<double> waitSeconds();
    /// Prints "glimra <command>: <message>" on standard error and returns UsageError.
    int usageError(const QString &message);

    /// A verb of the command ("read", "new", …) and what it does with the words after it.
    using Verb = std::pair<QString, std::function<int(const QStringList &words)>>;
    /// Parses, then runs the verb named by the first word with the remaining words; a
    /// usage error for a missing or unknown verb.
    int runVerb(const QList<Verb> &verbs);

    /// Standard output and standard error: control characters are shown escaped on a
    /// terminal, except in the output of a command run with --json.
    QTextStream &out() { return m_out; }
    QTextStream &err() { return m_err; }

private:
    QString m_command;
    QStringList m_arguments;
    QCommandLineParser m_parser;
    TerminalText m_outDevice;
    TerminalText m_errDevice;
    QTextStream m_out;
    QTextStream m_err;
    int m_stopStatus = UsageError;
};

} // namespace glimra
