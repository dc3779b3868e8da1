#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace glimra {

/// The regular-expression operations offered to scripts, chosen by a four-character code:
/// 'mreg' whether the pattern matches anywhere in the text (true or false, never no value),
/// 'xreg' the first match and its groups (a list, or no value), 'splt' the pieces of the
/// text split at every character of the second argument (a list). Any other code gives
/// no value. A pattern that does not compile gives no value ('mreg': false), with a log
/// line.
class RegexpCommand
{
public:
    static std::optional<QVariant> performDefaultImplementation(const QString &eventId, const QString &text,
                                                                const QString &regexp);
};

} // namespace glimra
