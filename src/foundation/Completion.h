#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace glimra {

/// How an operation that may finish later ended: done, or failed with a message that
/// says why. `items` carries what the operation produced when it produces a list to show
/// (the paths a desktop search found; possibly none).
struct Outcome
{
    bool ok = true;
    QString message;
    std::optional<QStringList> items;
    /// A text the operation produced that is to be guessed next (what a command printed).
    std::optional<QString> text;

    static Outcome failure(const QString &why) { return {false, why, {}, {}}; }
    /// Done when `why` is null, else failed with "<what> failed: <why>".
    static Outcome unlessFailed(const QString &what, const QString &why)
    {
        return why.isNull() ? Outcome() : failure(what + QStringLiteral(" failed: ") + why);
    }
};

/// Called exactly once when the operation has ended, possibly before the call that
/// started it returns. An empty Completion means nobody waits for the outcome.
using Completion = std::function<void(const Outcome &)>;

inline void complete(const Completion &done, const Outcome &outcome = {})
{
    if (done)
        done(outcome);
}

} // namespace glimra
