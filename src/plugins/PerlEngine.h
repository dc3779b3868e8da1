#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

namespace glimra {

/// One embedded Perl 5 interpreter, owned by whoever made it (the program's assembly makes
/// one, when the first Perl plug-in appears). parse() compiles a script as the
/// main program in a clean interpreter (its top-level statements never run; subroutine
/// definitions, use statements and BEGIN blocks take effect), then setStringValue(),
/// eval() and execute() talk to it. Nothing passes from one parse() to the next.
///
/// A script must never end or hang the program. Every load, compile and call into the
/// script ends within timeLimit() seconds: the host checks the deadline between the script's
/// operations and leaves through Perl's exit path, which eval {} cannot catch; the processes
/// the call started are killed when it ends. exit() called by the script ends that call as a
/// failure, not the process. After such a failure, only a new parse() makes the engine
/// usable again. Texts cross as UTF-8 bytes (the Perl scalars hold byte strings); texts
/// coming out that are not valid UTF-8 are nil.
///
/// Main thread only. This header includes no Perl: Perl's macros break other headers.
class PerlEngine
{
public:
    PerlEngine();
    ~PerlEngine();
    PerlEngine(const PerlEngine &) = delete;
    PerlEngine &operator=(const PerlEngine &) = delete;

    /// Compiles the script at `path` in a new interpreter, with the switch -CS. Only a
    /// regular file (links followed) of at most 1 MiB is compiled. False, with one log line
    /// naming the file, when it cannot be read, does not compile or overruns; the engine
    /// then calls nothing until the next parse().
    bool parse(const QString &path);
    /// Calls the subroutine with no arguments in scalar context: its integer value; 0 and
    /// the log line "perl error - …" when it dies, is missing, overruns or exits; -1 before
    /// any parse(); 0 after a parse() that failed.
    qint64 execute(const QString &subroutine);
    /// Evaluates Perl source in scalar context: its text; nil before any parse(), on a
    /// Perl error (logged) or for bytes that are not UTF-8. An undefined value is "".
    QString eval(const QString &source);

    /// Sets the global scalar to the text's UTF-8 bytes; a nil text leaves it undefined.
    void setStringValue(const QString &value, const QString &name);

    /// The failures logged since the last parse(), the first few of them.
    QStringList errors() const;
    /// The bound, in seconds, of every load, compile and call; none when 0 or less.
    int timeLimit() const { return m_timeLimit; }
    void setTimeLimit(int seconds) { m_timeLimit = seconds; }

    struct Interpreter;

private:
    std::chrono::milliseconds limit() const;

    std::unique_ptr<Interpreter> d;
    int m_timeLimit = 5;
};

} // namespace glimra
