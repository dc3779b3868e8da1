#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <chrono>
#include <memory>

namespace glimra {

/// A regular expression that comes from outside the program (a user's rule, a script's
/// pattern over the bus or the command line), matched within bounds: the matches made
/// against one Budget share CpuTimeLimit of the calling thread's processor time, and each
/// match keeps to PCRE2's match, depth and heap limits. A pattern can otherwise take hours
/// on a short text (nested repeats, back references over a long line), and its caller
/// with it. A limit reached is an answer of its own, never "no match".
///
/// The syntax and meaning are QRegularExpression's without options (PCRE2 over UTF-16):
/// what one accepts, the other does. Use it on one thread at a time.
class BoundedRegexp
{
public:
    static constexpr std::chrono::milliseconds CpuTimeLimit{1000};
    static constexpr quint32 MatchLimit = 10'000'000;
    static constexpr quint32 DepthLimit = 1'000'000;
    static constexpr quint32 HeapLimitKiB = 64 * 1024;

    /// The processor time a call's matches share; its clock starts with the first match
    /// and runs on the thread that matches. One per call, on one thread.
    class Budget
    {
    private:
        friend class BoundedRegexp;
        qint64 m_deadlineNs = -1; // thread CPU time; -1 until the first match
        QString m_exhausted; // the limit it ran into, for people; null while none
    };

    struct Match
    {
        enum class Result { NoMatch, Matched, LimitReached };
        Result result = Result::NoMatch;
        /// Matched: the whole match, then every group (the empty text for a group that
        /// took no part).
        QStringList pieces;
        /// LimitReached: which limit, for people ("the match limit (10000000 steps)").
        QString limit;

        bool matched() const { return result == Result::Matched; }
    };

    explicit BoundedRegexp(const QString &pattern);
    ~BoundedRegexp();
    BoundedRegexp(const BoundedRegexp &) = delete;
    BoundedRegexp &operator=(const BoundedRegexp &) = delete;

    bool isValid() const;
    /// Why the pattern does not compile, and where (in UTF-16 units); null when it does.
    QString errorString() const { return m_error; }
    qsizetype patternErrorOffset() const { return m_errorOffset; }

    /// The first match in `text`. Once `budget` is spent, every later match answers
    /// LimitReached at once.
    Match match(QStringView text, Budget &budget) const;

    /// "the regular expression ... reached <limit>": what a caller tells its user.
    static QString limitMessage(const QString &limit);

    struct Compiled;

private:
    std::unique_ptr<Compiled> d;
    QString m_error;
    qsizetype m_errorOffset = -1;
};

} // namespace glimra
