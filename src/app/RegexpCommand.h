#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace glimra {

/// The regular-expression operations offered to scripts, chosen by a four-character code:
/// 'mreg' whether the pattern matches anywhere in the text (true or false, never no value),
/// 'xreg' the first match and its groups (a list, or no value), 'splt' the pieces of the
/// text split at every character of the second argument (a list). Any other code gives
/// no value. A pattern that does not compile gives no value ('mreg': false), with a log
/// line. A pattern comes from outside: it runs within BoundedRegexp's limits, and one that
/// reaches a limit answers which, never false or no value.
class RegexpCommand
{
public:
    struct Answer
    {
        std::optional<QVariant> value;
        /// Non-null when the pattern reached a limit (then there is no value): what the
        /// caller is told.
        QString failure;
    };

    /// Performs the operation here, on the calling thread.
    static Answer perform(const QString &eventId, const QString &text, const QString &regexp);
    /// Performs it on a worker thread; `answer` hears it on the thread of `context` (the
    /// main thread), unless `context` is gone by then. False, with nothing started, when
    /// too many operations wait already.
    static bool performInBackground(const QString &eventId, const QString &text, const QString &regexp,
                                    QObject *context, std::function<void(const Answer &)> answer);
};

} // namespace glimra
