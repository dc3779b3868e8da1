#include "foundation/BoundedRegexp.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <ctime>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The JIT's stack grows to this size at most; a match that needs more reports the limit.
constexpr size_t JitStackBytes = 1024 * 1024;

qint64 nanoseconds(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct JitStack
{
    pcre2_jit_stack_16 *stack = pcre2_jit_stack_create_16(32 * 1024, JitStackBytes, nullptr);
    ~JitStack() { pcre2_jit_stack_free_16(stack); }
};

pcre2_jit_stack_16 *threadJitStack()
{
    thread_local JitStack jit;
    return jit.stack;
}

// What the callout sees: every item of the pattern calls it (PCRE2_AUTO_CALLOUT), also
// between the comparisons of a back reference, which PCRE2's match limit does not count.
// Reading a thread's processor time is a system call; the coarse clock (a few ns) says
// when a tick has passed and it is worth reading.
struct Watch
{
    qint64 deadlineNs;
    quint32 calls = 0;
    qint64 lastTick = 0;
    bool outOfTime = false;
};

int checkTime(pcre2_callout_block_16 *, void *data)
{
    auto *watch = static_cast<Watch *>(data);
    if ((++watch->calls & 15) != 0)
        return 0;
    const qint64 tick = nanoseconds(CLOCK_MONOTONIC_COARSE);
    if (tick == watch->lastTick)
        return 0;
    watch->lastTick = tick;
    if (nanoseconds(CLOCK_THREAD_CPUTIME_ID) < watch->deadlineNs)
        return 0;
    watch->outOfTime = true;
    return PCRE2_ERROR_CALLOUT;
}

QString timeLimit()
{
    return u"%1 s of processor time"_s.arg(double(BoundedRegexp::CpuTimeLimit.count()) / 1000.0);
}

// The limit behind a PCRE2 error; null for an error that is no limit.
QString limitOf(int error, const Watch &watch)
{
    switch (error) {
    case PCRE2_ERROR_CALLOUT:
        return watch.outOfTime ? timeLimit() : QString();
    case PCRE2_ERROR_MATCHLIMIT:
        return u"the match limit (%1 steps)"_s.arg(BoundedRegexp::MatchLimit);
    case PCRE2_ERROR_DEPTHLIMIT:
        return u"the depth limit (%1 nested steps)"_s.arg(BoundedRegexp::DepthLimit);
    case PCRE2_ERROR_HEAPLIMIT:
        return u"the memory limit (%1 MiB)"_s.arg(BoundedRegexp::HeapLimitKiB / 1024);
    case PCRE2_ERROR_JIT_STACKLIMIT:
        return u"the stack limit (%1 MiB)"_s.arg(JitStackBytes / (1024 * 1024));
    default:
        return {};
    }
}

QString pieceAt(QStringView text, const PCRE2_SIZE *ovector, quint32 i)
{
    if (ovector[2 * i] == PCRE2_UNSET)
        return u""_s;
    return text.sliced(qsizetype(ovector[2 * i]), qsizetype(ovector[2 * i + 1] - ovector[2 * i])).toString();
}

} // namespace

struct BoundedRegexp::Compiled
{
    pcre2_code_16 *code = nullptr;
    quint32 captureCount = 0;

    ~Compiled() { pcre2_code_free_16(code); }
};

BoundedRegexp::BoundedRegexp(const QString &pattern)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    // QRegularExpression compiles with PCRE2_UTF and nothing else: the same patterns mean
    // the same here. A null text is the empty pattern.
    const QStringView text = pattern.isNull() ? QStringView(u"") : QStringView(pattern);
    pcre2_code_16 *code = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(text.utf16()), PCRE2_SIZE(text.size()),
                                           PCRE2_UTF | PCRE2_AUTO_CALLOUT, &error, &offset, nullptr);
    if (!code) {
        PCRE2_UCHAR16 message[256];
        const int length = pcre2_get_error_message_16(error, message, sizeof message / sizeof *message);
        m_error = QString::fromUtf16(reinterpret_cast<const char16_t *>(message), qMax(length, 0));
        m_errorOffset = qsizetype(offset);
        return;
    }
    d = std::make_unique<Compiled>();
    d->code = code;
    pcre2_pattern_info_16(code, PCRE2_INFO_CAPTURECOUNT, &d->captureCount);
    // Without the JIT (unsupported here), the interpreter runs under the same limits.
    pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE);
}

BoundedRegexp::~BoundedRegexp() = default;

bool BoundedRegexp::isValid() const
{
    return d != nullptr;
}

QString BoundedRegexp::limitMessage(const QString &limit)
{
    return u"the regular expression reached %1 and was stopped"_s.arg(limit);
}

BoundedRegexp::Match BoundedRegexp::match(QStringView text, Budget &budget) const
{
    Match result;
    if (!d)
        return result;
    if (!budget.m_exhausted.isNull()) {
        result.result = Match::Result::LimitReached;
        result.limit = budget.m_exhausted;
        return result;
    }
    if (budget.m_deadlineNs < 0) {
        budget.m_deadlineNs = nanoseconds(CLOCK_THREAD_CPUTIME_ID)
            + std::chrono::duration_cast<std::chrono::nanoseconds>(CpuTimeLimit).count();
    }
    Watch watch{budget.m_deadlineNs};
    pcre2_match_context_16 *context = pcre2_match_context_create_16(nullptr);
    pcre2_set_match_limit_16(context, MatchLimit);
    pcre2_set_depth_limit_16(context, DepthLimit);
    pcre2_set_heap_limit_16(context, HeapLimitKiB);
    pcre2_set_callout_16(context, checkTime, &watch);
    pcre2_jit_stack_assign_16(context, nullptr, threadJitStack());
    pcre2_match_data_16 *data = pcre2_match_data_create_from_pattern_16(d->code, nullptr);

    const char16_t *subject = text.isNull() ? u"" : text.utf16();
    const int status = pcre2_match_16(d->code, reinterpret_cast<PCRE2_SPTR16>(subject), PCRE2_SIZE(text.size()),
                                      0, 0, data, context);
    if (status >= 0) {
        result.result = Match::Result::Matched;
        const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer_16(data);
        for (quint32 i = 0; i <= d->captureCount; ++i)
            result.pieces.append(pieceAt(text, ovector, i));
    } else if (const QString limit = limitOf(status, watch); !limit.isNull()) {
        result.result = Match::Result::LimitReached;
        result.limit = limit;
        if (watch.outOfTime)
            budget.m_exhausted = limit;
    }
    // Any other failure (no match; a text that is not valid UTF-16) finds nothing, as
    // QRegularExpression does.
    pcre2_match_data_free_16(data);
    pcre2_match_context_free_16(context);
    return result;
}

} // namespace glimra
