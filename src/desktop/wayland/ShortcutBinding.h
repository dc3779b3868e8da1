#pragma once

#include "foundation/Wording.h"

#include <QString>
#include <QStringList>

namespace glimra {

/// A shortcut that the desktop runs a command for: "guess" runs `glimra guess`,
/// "clipboard" `glimra clipboard`.
struct ShortcutBinding
{
    QString name;        ///< "guess", "clipboard": names what is written for it
    QString description; ///< for people: "Glimra: guess the selection"
    QString keys;        ///< the program's notation: "Meta+Alt+G"
    QStringList command; ///< the program and its arguments
};

/// What installing or removing bindings did.
struct BindingChange
{
    enum class Result {
        Changed,       ///< written (or taken out), and the desktop told
        NothingToDo,   ///< nothing written: `lines` or `message` say what the user can do
        Failed,        ///< `message` says why
    };
    Result result = Result::Failed;
    /// In English, as `glimra shortcut` prints it.
    QString message;
    /// Lines for the user to add to a configuration of their own.
    QStringList lines;
    /// `message` in the user's language, for a window or a notification; null where the
    /// message has no translation.
    QString shownMessage;

    /// What a window or a notification says of the change.
    QString messageShown() const { return shownMessage.isNull() ? message : shownMessage; }

    /// A change that says `source`, an English sentence marked with
    /// QT_TRANSLATE_NOOP("glimra::BindingChange", …), its %1, %2… filled by `arguments`.
    static BindingChange said(Result result, const char *source, const QList<Phrase> &arguments = {},
                              const QStringList &lines = {})
    {
        BindingChange change{result, {}, lines, {}};
        return change.add(source, arguments);
    }
    /// Adds `source` (marked as for said()) to the end of the message, in both languages.
    BindingChange &add(const char *source, const QList<Phrase> &arguments = {})
    {
        const Phrase phrase = Phrase::of("glimra::BindingChange", source, arguments);
        shownMessage = messageShown() + phrase.users;
        message += phrase.english;
        return *this;
    }
};

} // namespace glimra
