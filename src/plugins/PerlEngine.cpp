#include "plugins/PerlEngine.h"

#include "foundation/Log.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include <array>
#include <clocale>
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

void logPerlError(const QString &message)
{
    QString text = message;
    while (text.endsWith(u'\n'))
        text.chop(1);
    qCInfo(lcPlugins).noquote() << u"perl error - "_s + text;
}

void logPerlError(const char *message)
{
    logPerlError(QString::fromUtf8(message));
}

void logLoadFailure(const QString &path, const QString &reason)
{
    logPerlError(u"cannot load %1: %2"_s.arg(path, reason));
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

// Lets scripts load compiled extensions (POSIX, List::Util, …).
void xs_init(pTHX)
{
    static const char file[] = __FILE__;
    newXS("DynaLoader::boot_DynaLoader", boot_DynaLoader, file);
}

} // namespace

namespace glimra {

struct PerlEngine::Interpreter
{
    PerlInterpreter *my_perl = nullptr;
    bool running = false;
    // A script called exit(): the interpreter's stacks were unwound; only a new parse()
    // may use it again.
    bool exited = false;
    // perl_parse keeps the argument vector (assigning $0 writes into it): it lives as long
    // as the interpreter.
    std::vector<std::string> argumentStorage;
    std::vector<char *> arguments;
    SignalDispositions signalsBefore;

    void destroy()
    {
        if (!my_perl)
            return;
        ::alarm(0);
        PERL_SET_CONTEXT(my_perl);
        if (running)
            perl_destruct(my_perl);
        perl_free(my_perl);
        my_perl = nullptr;
        running = false;
        exited = false;
        signalsBefore.restore();
    }

    bool usable() const { return my_perl && running && !exited; }

    // Runs `body` (which calls into the script) under the time limit, with an exit() by the
    // script caught here instead of ending the process. False when the script exited.
    template <typename Body>
    bool guarded(int seconds, Body body)
    {
        PERL_SET_CONTEXT(my_perl);
        ::alarm(unsigned(seconds > 0 ? seconds : 0));
        dJMPENV;
        int status;
        JMPENV_PUSH(status);
        if (status == 0)
            body();
        JMPENV_POP;
        ::alarm(0);
        if (status != 0) {
            // exit() unwound every scope of the interpreter on its way here.
            exited = true;
            logPerlError("exit called by the script");
            return false;
        }
        return true;
    }

    QString stringOf(SV *value)
    {
        if (!value)
            return {};
        STRLEN length = 0;
        const char *bytes = SvPV(value, length);
        if (!bytes)
            return {};
        return decodeStrictly(bytes, length);
    }

    // The global scalar `name` (created when `create`); null without an interpreter or
    // without such a scalar.
    SV *scalar(const QString &name, bool create)
    {
        if (!my_perl)
            return nullptr;
        PERL_SET_CONTEXT(my_perl);
        return get_sv(name.toStdString().c_str(), create ? GV_ADD : 0);
    }

    NV numberOf(SV *value) { return SvNV(value); }

    // Why perl_parse failed. Perl wrote its diagnostics to standard error.
    QString compileError()
    {
        if (!PL_errgv || !SvTRUE(ERRSV))
            return u"did not compile"_s;
        return QString::fromUtf8(SvPV_nolen(ERRSV)).split(u'\n', Qt::SkipEmptyParts).join(u"; "_s);
    }

    bool errorPending()
    {
        if (!SvTRUE(ERRSV))
            return false;
        logPerlError(SvPV_nolen(ERRSV));
        return true;
    }
};

PerlEngine &PerlEngine::sharedInstance()
{
    // Never destroyed: the interpreter lives until the process ends.
    static PerlEngine *engine = new PerlEngine;
    return *engine;
}

PerlEngine::PerlEngine() : d(std::make_unique<Interpreter>())
{
    // Perl reads the locale from the environment; doing it once up front makes every
    // interpreter construction cheaper.
    std::setlocale(LC_ALL, "");
    d->signalsBefore.save();
    int argc = 0;
    char **argv = nullptr;
    char **env = nullptr;
    PERL_SYS_INIT3(&argc, &argv, &env);
}

PerlEngine::~PerlEngine()
{
    d->destroy();
    PERL_SYS_TERM();
}

bool PerlEngine::isRunning() const
{
    return d->running;
}

bool PerlEngine::parse(const QString &path)
{
    // A fresh interpreter for every script: destructing and constructing the same handle
    // again crashes the next parse, and freeing it guarantees a clean state.
    d->destroy();
    // A parse happened even when it fails; the interpreter is then left unusable.
    d->running = true;
    if (const QString problem = scriptFileProblem(path); !problem.isEmpty()) {
        logLoadFailure(path, problem);
        return false;
    }
    d->my_perl = perl_alloc();
    PerlInterpreter *my_perl = d->my_perl;
    // Perl lets only the process's "current" interpreter install signal handlers, and
    // would keep the first one ever allocated as that: %SIG would do nothing once it is
    // freed, and the alarm below would end the program.
    PERL_SET_INTERP(my_perl);
    PERL_SET_CONTEXT(my_perl);
    perl_construct(my_perl);
    PL_perl_destruct_level = 1;

    d->argumentStorage = {std::string(), std::string("-CS"), QFile::encodeName(path).toStdString()};
    d->arguments.clear();
    for (std::string &argument : d->argumentStorage)
        d->arguments.push_back(argument.data());
    d->arguments.push_back(nullptr);
    // A die or exit in a BEGIN block ends perl_parse with a failure status, like any
    // compile error. Nothing else may run in an interpreter whose parse failed.
    const int status =
        perl_parse(my_perl, xs_init, int(d->argumentStorage.size()), d->arguments.data(), nullptr);
    ::alarm(0);
    if (status != 0) {
        logLoadFailure(path, d->compileError());
        d->destroy();
        d->running = true;
        return false;
    }
    // The alarm that stops a script which runs too long dies with this message.
    eval_pv("$SIG{ALRM} = sub { die \"timed out\\n\" };", FALSE);
    return true;
}

void PerlEngine::run()
{
    if (!d->usable())
        return;
    PerlInterpreter *my_perl = d->my_perl;
    d->guarded(m_timeLimit, [&] { perl_run(my_perl); });
}

qint64 PerlEngine::execute(const QString &subroutine)
{
    if (!d->running)
        return -1;
    if (!d->usable())
        return 0;
    PerlInterpreter *my_perl = d->my_perl;
    PERL_SET_CONTEXT(my_perl);
    const std::string name = subroutine.toStdString();

    dSP;
    ENTER;
    SAVETMPS;
    PUSHMARK(SP);
    PUTBACK;
    volatile I32 count = 0;
    if (!d->guarded(m_timeLimit, [&] { count = call_pv(name.c_str(), G_SCALAR | G_EVAL); }))
        return 0; // exit() unwound ENTER/SAVETMPS already
    SPAGAIN;
    qint64 result = 0;
    if (d->errorPending()) {
        if (count == 1)
            (void)POPs;
    } else if (count == 1) {
        SV *value = POPs; // SvIV evaluates its argument more than once: pop first
        result = qint64(SvIV(value));
    }
    PUTBACK;
    FREETMPS;
    LEAVE;
    return result;
}

QString PerlEngine::eval(const QString &source)
{
    if (!d->usable())
        return {};
    PerlInterpreter *my_perl = d->my_perl;
    const QByteArray bytes = source.toUtf8();
    SV *volatile value = nullptr;
    if (!d->guarded(m_timeLimit, [&] { value = eval_pv(bytes.constData(), FALSE); }))
        return {};
    if (d->errorPending())
        return {};
    return d->stringOf(value);
}

QString PerlEngine::stringValueOf(const QString &name)
{
    SV *value = d->scalar(name, false);
    return value ? d->stringOf(value) : QString();
}

float PerlEngine::floatValueOf(const QString &name)
{
    SV *value = d->scalar(name, false);
    return value ? float(d->numberOf(value)) : 0.0f;
}

int PerlEngine::intValueOf(const QString &name)
{
    SV *value = d->scalar(name, false);
    if (!value)
        return 0;
    const NV number = d->numberOf(value);
    if (number != number)
        return 0;
    if (number >= NV(INT_MAX))
        return INT_MAX;
    if (number <= NV(INT_MIN))
        return INT_MIN;
    return int(number); // truncates toward zero
}

void PerlEngine::setIntValue(int value, const QString &name)
{
    // sv_setpvf finds its interpreter through the context scalar() has just set.
    if (SV *scalar = d->scalar(name, true))
        sv_setpvf(scalar, "%d", value);
}

void PerlEngine::setFloatValue(float value, const QString &name)
{
    if (SV *scalar = d->scalar(name, true))
        sv_setpvf(scalar, "%f", double(value));
}

void PerlEngine::setStringValue(const QString &value, const QString &name)
{
    SV *scalar = d->scalar(name, true);
    if (!scalar)
        return;
    PerlInterpreter *my_perl = d->my_perl;
    if (value.isNull()) {
        sv_setsv(scalar, &PL_sv_undef);
        return;
    }
    const QByteArray bytes = value.toUtf8();
    sv_setpvn(scalar, bytes.constData(), STRLEN(bytes.size()));
}

} // namespace glimra
