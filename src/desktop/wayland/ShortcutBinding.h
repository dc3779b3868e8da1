#pragma once

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
    QString message;
    /// Lines for the user to add to a configuration of their own.
    QStringList lines;
};

} // namespace glimra
