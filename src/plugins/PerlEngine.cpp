#include "plugins/PerlEngine.h"

#include "foundation/Log.h"
#include "foundation/ScriptRun.h"
#include "plugins/CallWatchdog.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include <array>
#include <clocale>
#include <mutex>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Everything that needs Qt is defined before Perl's headers: they define macros (short
// names of Perl's API) that break Qt code compiled after them.
namespace glimra {
namespace {

using namespace Qt::StringLiterals;

// Larger files are not plug-ins; compiling them would take long.
constexpr qint64 MaxScriptSize = 1024 * 1024;

// Logs a failure of the script, and keeps the first few in `kept` for an explained guess.
void logPerlError(const QString &message, QStringList &kept)
{
    QString text = message;
    while (text.endsWith(u'\n'))
        text.chop(1);
    qCInfo(lcPlugins).noquote() << u"perl error - "_s + text;
    if (kept.size() < ScriptRun::KeptErrorLines)
        kept.append(text);
}

void logPerlError(const std::string &message, QStringList &kept)
{
    logPerlError(QString::fromStdString(message), kept);
}

void logLoadFailure(const QString &path, const QString &reason, QStringList &kept)
{
    logPerlError(u"cannot load %1: %2"_s.arg(path, reason), kept);
}

// Why the file at `path` cannot be handed to Perl; empty when it can. Perl would wait
// forever on a FIFO or a device, so only regular files (links followed) are compiled.
QString scriptFileProblem(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0)
        return qt_error_string(errno);
    if (!S_ISREG(info.st_mode))
        return u"not a regular file"_s;
    if (info.st_size > MaxScriptSize)
        return u"larger than 1 MiB"_s;
    const int file = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return qt_error_string(errno);
    ::close(file);
    return {};
}

QString decodeStrictly(const char *bytes, size_t length)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes, qsizetype(length)));
    if (decoder.hasError())
        return {};
    return text.isNull() ? QStringLiteral("") : text;
}

// The signal dispositions from before any interpreter existed. A script can install Perl
// handlers (%SIG); they must not outlive the interpreter that runs them.
class SignalDispositions
{
public:
    void save()
    {
        for (int signal = 1; signal < NSIG; ++signal)
            m_saved[signal].valid = ::sigaction(signal, nullptr, &m_saved[signal].action) == 0;
    }
    void restore() const
    {
        for (int signal = 1; signal < NSIG; ++signal) {
            if (m_saved[signal].valid && signal != SIGKILL && signal != SIGSTOP)
                ::sigaction(signal, &m_saved[signal].action, nullptr);
        }
    }

private:
    struct Saved
    {
        struct sigaction action;
        bool valid = false;
    };
    std::array<Saved, NSIG> m_saved{};
};

} // namespace
} // namespace glimra

// Every Perl call names its interpreter explicitly (my_perl) instead of looking it up.
#define PERL_NO_GET_CONTEXT
#include <EXTERN.h>
#include <perl.h>
#include <XSUB.h>

EXTERN_C void boot_DynaLoader(pTHX_ CV *cv);

namespace {

using glimra::CallWatchdog;

// Lets scripts load compiled extensions (POSIX, List::Util, …).
void xs_init(pTHX)
{
    static const char file[] = __FILE__;
    newXS("DynaLoader::boot_DynaLoader", boot_DynaLoader, file);
}

// The watchdog of the call under way. The hooks below get no argument of ours; each call
// names its engine's watchdog here before it enters Perl (main thread only).
const CallWatchdog *s_watchdog = nullptr;

// Leaves the call through Perl's exit path: eval {} cannot catch it, and the one place
// that does is the host's own (guarded()). The exit status is never used.
void stopOverrunningScript(pTHX)
{
    my_exit(255);
}

// Perl's standard run loop, plus the deadline between every two ops. A script cannot see or
// change this check; only an op that itself never returns (a regular expression that
// backtracks for hours, an extension's C code, a system call with SIGURG blocked) escapes it.
int runOpsWithinDeadline(pTHX)
{
    OP *op = PL_op;
    while ((PL_op = op = op->op_ppaddr(aTHX))) {
        if (UNLIKELY(s_watchdog->expired()))
            stopOverrunningScript(aTHX);
    }
    PERL_ASYNC_CHECK();
    TAINT_NOT;
    return 0;
}

// Perl calls this where it retries an interrupted system call (waiting for a child, reading
// a handle) once a signal is pending, which the watchdog's SIGURG makes so.
void dispatchSignalsWithinDeadline(pTHX)
{
    if (s_watchdog->expired())
        stopOverrunningScript(aTHX);
    // Perl's own pending signals need their table, which exists once %SIG is mentioned.
    if (PL_psig_pend)
        Perl_despatch_signals(aTHX);
    else
        PL_sig_pending = 0;
}

// Past the deadline no object destructor runs: leaving the call unwinds scopes quickly.
bool destroyableWithinDeadline(pTHX_ SV *)
{
    return !s_watchdog->expired();
}

} // namespace

namespace glimra {

struct PerlEngine::Interpreter
{
    struct CallResult
    {
        bool returned = false; // neither exit() nor the deadline left it early
        bool overran = false;
    };

    PerlInterpreter *my_perl = nullptr;
    // A parse() happened (whether or not it succeeded).
    bool parsed = false;
    // The script compiled, and no exit() or overrun has unwound the interpreter since.
    bool ready = false;
    // What went wrong since the last parse(), for an explained guess.
    QStringList errors;
    // perl_parse keeps the argument vector (assigning $0 writes into it): it lives as long
    // as the interpreter.
    std::vector<std::string> argumentStorage;
    std::vector<char *> arguments;
    SignalDispositions signalsBefore;
    // A disposition may differ from signalsBefore: a call overran (the watchdog installs its
    // SIGURG handler, and may have left a system() that ignores SIGINT and SIGQUIT while it
    // waits), or the script mentioned %SIG (signalsMayHaveChanged()).
    bool overranSinceRestore = false;
    CallWatchdog watchdog;

    void construct()
    {
        my_perl = perl_alloc();
        // Perl lets only the process's "current" interpreter install signal handlers, and
        // would keep the first one ever allocated as that: %SIG would do nothing once it
        // is freed.
        PERL_SET_INTERP(my_perl);
        PERL_SET_CONTEXT(my_perl);
        perl_construct(my_perl);
        PL_perl_destruct_level = 1;
        PL_runops = runOpsWithinDeadline;
        PL_signalhook = dispatchSignalsWithinDeadline;
        PL_destroyhook = destroyableWithinDeadline;
    }

    // Object destructors run here: script code, bounded like any call. One that overruns or
    // exits leaves the tear-down half done; that interpreter's memory is then given up.
    void destroy(std::chrono::milliseconds limit)
    {
        if (!my_perl)
            return;
        // Asked before perl_destruct frees the signal table.
        const bool restore = signalsMayHaveChanged();
        const CallResult result = guarded(limit, false, [&] { perl_destruct(my_perl); });
        if (!result.returned) {
            logPerlError((result.overran ? u"timed out while tearing down: "_s
                                         : u"exit called while tearing down: "_s)
                         + scriptPath(), errors);
        }
        perl_free(my_perl);
        my_perl = nullptr;
        ready = false;
        if (restore || overranSinceRestore)
            restoreSignals();
    }

    // Every way a script sets a disposition (assigning to %SIG, local %SIG, POSIX::sigaction)
    // goes through %SIG, and Perl makes its signal table (PL_psig_name) when the name SIG is
    // first compiled or looked up. Without that table, and without an overrun, nothing is
    // to be restored, and a parse spares the 62 system calls of a restore.
    bool signalsMayHaveChanged() const { return overranSinceRestore || PL_psig_name; }

    void restoreSignals()
    {
        signalsBefore.restore();
        overranSinceRestore = false;
    }

    // Runs `body`, which calls into the script, within `limit`; an exit() by the script
    // or the deadline ends up here instead of ending the process. With `resumable`, the
    // scopes that such an exit left entered are left, so that the interpreter can go on.
    template <typename Body>
    CallResult guarded(std::chrono::milliseconds limit, bool resumable, Body body)
    {
        PERL_SET_CONTEXT(my_perl);
        const CallDepth depth = callDepth();
        volatile bool unwound = !resumable;
        s_watchdog = &watchdog;
        watchdog.begin(limit, &PL_sig_pending);
        dJMPENV;
        int status;
        JMPENV_PUSH(status);
        if (status == 0)
            body();
        if (CallWatchdog::inForkedChild())
            leaveForkedChild(status);
        // Leaving the scopes may run script code (destructors) that exits again: that comes
        // back here, still under the deadline, and is not unwound twice.
        if (status != 0 && !unwound) {
            unwound = true;
            unwindTo(depth);
        }
        JMPENV_POP;
        CallResult result;
        result.returned = status == 0;
        result.overran = watchdog.end();
        overranSinceRestore = overranSinceRestore || result.overran;
        // SIGALRM's default action ends the program: no alarm of the script may outlive it.
        ::alarm(0);
        return result;
    }

    struct CallDepth
    {
        I32 scopes;
        SSize_t stack;
        SSize_t marks;
    };

    CallDepth callDepth() const
    {
        return {PL_scopestack_ix, PL_stack_sp - PL_stack_base, PL_markstack_ptr - PL_markstack};
    }

    // Perl's exit path unwound the contexts and the save stack; this leaves the scopes, as
    // perl_run does after an exit.
    void unwindTo(const CallDepth &depth)
    {
        while (PL_scopestack_ix > depth.scopes)
            LEAVE;
        FREETMPS;
        PL_stack_sp = PL_stack_base + depth.stack;
        PL_markstack_ptr = PL_markstack + depth.marks;
    }

    // A process the script forked never returns into the program.
    [[noreturn]] void leaveForkedChild(int status)
    {
        PerlIO_flush(nullptr);
        ::_exit(status == 0 ? 0 : int(STATUS_EXIT) & 0xff);
    }

    // guarded() for a call into a compiled script: false (logged) when the script overran
    // or exited. The script's other subroutines may still be called after an overrun; after
    // an exit() the script has ended, and only a new parse() makes the engine usable.
    template <typename Body>
    bool call(std::chrono::milliseconds limit, Body body)
    {
        const CallResult result = guarded(limit, true, body);
        if (result.overran) {
            logPerlError(u"timed out: "_s + scriptPath(), errors);
            return false;
        }
        if (!result.returned) {
            ready = false;
            if (signalsMayHaveChanged())
                restoreSignals();
            logPerlError(u"exit called by the script: "_s + scriptPath(), errors);
            return false;
        }
        return true;
    }

    QString scriptPath() const { return QFile::decodeName(argumentStorage.back().c_str()); }

    // Compiles the script at `path`; the failure's description, empty when it compiled.
    QString compile(const QString &path, std::chrono::milliseconds limit)
    {
        construct();
        argumentStorage = {std::string(), std::string("-CS"), QFile::encodeName(path).toStdString()};
        arguments.clear();
        for (std::string &argument : argumentStorage)
            arguments.push_back(argument.data());
        arguments.push_back(nullptr);
        int status = 0;
        std::string error;
        const CallResult result = guarded(limit, false, [&] {
            status = perl_parse(my_perl, xs_init, int(argumentStorage.size()), arguments.data(),
                                nullptr);
            if (status != 0 && PL_errgv && SvTRUE(ERRSV))
                error = SvPV_nolen(ERRSV);
        });
        if (result.overran)
            return u"timed out"_s;
        if (!result.returned || status != 0) {
            // A die or exit in a BEGIN block fails like a compile error. Perl wrote its
            // diagnostics to standard error.
            if (error.empty())
                return u"did not compile"_s;
            return QString::fromStdString(error).split(u'\n', Qt::SkipEmptyParts).join(u"; "_s);
        }
        return {};
    }

    // Calls the subroutine with no arguments in scalar context; `error` receives $@.
    qint64 callScalar(const char *name, std::string &error)
    {
        dSP;
        ENTER;
        SAVETMPS;
        PUSHMARK(SP);
        PUTBACK;
        const I32 count = call_pv(name, G_SCALAR | G_EVAL);
        SPAGAIN;
        qint64 result = 0;
        SV *value = count == 1 ? POPs : nullptr; // SvIV evaluates its argument twice
        if (SvTRUE(ERRSV))
            error = SvPV_nolen(ERRSV);
        else if (value)
            result = qint64(SvIV(value));
        PUTBACK;
        FREETMPS;
        LEAVE;
        return result;
    }

    // Evaluates `source` in scalar context; false on a Perl error (in `error`). The result's
    // string form goes to `text` (null `defined` for no value).
    bool evaluate(const char *source, std::string &text, std::string &error)
    {
        ENTER;
        SAVETMPS;
        SV *value = eval_pv(source, FALSE);
        const bool failed = SvTRUE(ERRSV);
        if (failed)
            error = SvPV_nolen(ERRSV);
        else
            stringInto(value, text);
        FREETMPS;
        LEAVE;
        return !failed;
    }

    // The SV's string form as bytes; false when it has none.
    bool stringInto(SV *value, std::string &text)
    {
        if (!value)
            return false;
        STRLEN length = 0;
        const char *bytes = SvPV(value, length);
        if (!bytes)
            return false;
        text.assign(bytes, length);
        return true;
    }

    // The global scalar `name` (created when `create`); null without such a scalar.
    SV *scalar(const QString &name, bool create)
    {
        return get_sv(name.toStdString().c_str(), create ? GV_ADD : 0);
    }
};

PerlEngine::PerlEngine() : d(std::make_unique<Interpreter>())
{
    // Perl's system initialisation is the process's, done once and never undone: an
    // engine may be made again after another one went away.
    static std::once_flag initialised;
    std::call_once(initialised, [] {
        // Perl reads the locale from the environment; doing it once up front makes every
        // interpreter construction cheaper.
        std::setlocale(LC_ALL, "");
        int argc = 0;
        char **argv = nullptr;
        char **env = nullptr;
        PERL_SYS_INIT3(&argc, &argv, &env);
    });
    d->signalsBefore.save();
}

PerlEngine::~PerlEngine()
{
    d->destroy(limit());
}

std::chrono::milliseconds PerlEngine::limit() const
{
    return std::chrono::seconds(m_timeLimit);
}

QStringList PerlEngine::errors() const
{
    return d->errors;
}

bool PerlEngine::parse(const QString &path)
{
    // A fresh interpreter for every script: destructing and constructing the same handle
    // again crashes the next parse, and freeing it guarantees a clean state.
    d->destroy(limit());
    d->errors.clear();
    d->parsed = true;
    QString problem = scriptFileProblem(path);
    if (problem.isEmpty())
        problem = d->compile(path, limit());
    if (!problem.isEmpty()) {
        logLoadFailure(path, problem, d->errors);
        d->destroy(limit());
        return false;
    }
    d->ready = true;
    return true;
}

qint64 PerlEngine::execute(const QString &subroutine)
{
    if (!d->parsed)
        return -1;
    if (!d->ready)
        return 0;
    const std::string name = subroutine.toStdString();
    std::string error;
    qint64 result = 0;
    if (!d->call(limit(), [&] { result = d->callScalar(name.c_str(), error); }))
        return 0;
    if (!error.empty())
        logPerlError(error, d->errors);
    return result;
}

QString PerlEngine::eval(const QString &source)
{
    if (!d->ready)
        return {};
    const QByteArray bytes = source.toUtf8();
    std::string text;
    std::string error;
    bool succeeded = false;
    if (!d->call(limit(), [&] { succeeded = d->evaluate(bytes.constData(), text, error); }))
        return {};
    if (!succeeded) {
        logPerlError(error, d->errors);
        return {};
    }
    return decodeStrictly(text.data(), text.size());
}

void PerlEngine::setStringValue(const QString &value, const QString &name)
{
    if (!d->ready)
        return;
    PerlInterpreter *my_perl = d->my_perl;
    SV *scalar = d->scalar(name, true);
    if (!scalar)
        return;
    if (value.isNull()) {
        sv_setsv(scalar, &PL_sv_undef);
        return;
    }
    const QByteArray bytes = value.toUtf8();
    sv_setpvn(scalar, bytes.constData(), STRLEN(bytes.size()));
}

} // namespace glimra
