#pragma once

#include "foundation/Wording.h"

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
    /// `message` in the user's language, for a window or a notification; null where the
    /// message has no translation (what a script or another program said). `message` itself
    /// stays English: the command line prints it and the log keeps it.
    QString shownMessage;

    /// What a window or a notification says of the outcome.
    QString messageShown() const { return shownMessage.isNull() ? message : shownMessage; }

    static Outcome failure(const QString &why) { return {false, why, {}, {}, {}}; }
    /// Failed with `source`, an English sentence marked with
    /// QT_TRANSLATE_NOOP("glimra::Outcome", …), its %1, %2… filled by `arguments`.
    static Outcome failure(const char *source, const QList<Phrase> &arguments = {})
    {
        Outcome failed = said(source, arguments);
        failed.ok = false;
        return failed;
    }
    /// Done, with `source` (marked as for failure()) for the user to read.
    static Outcome said(const char *source, const QList<Phrase> &arguments = {})
    {
        const Phrase phrase = Phrase::of("glimra::Outcome", source, arguments);
        return {true, phrase.english, {}, {}, phrase.users};
    }
    /// The message in both languages.
    Phrase phrase() const { return {message, messageShown()}; }
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
