#pragma once

#include "foundation/TextRead.h"

#include <QJsonArray>
#include <QString>
#include <QVariant>

#include <optional>

namespace glimra {

/// An application script: handlers called by name with JSON arguments, each answering one
/// value. A script file (HandlerScript) runs in a process of its own; the desktop's
/// built-in scripts run in this process. Shared by its holders. Main thread only.
class ApplicationScript
{
public:
    virtual ~ApplicationScript() = default;

    /// Calls `handler` with `args`. The answer is a QVariantMap for an object, a QVariantList
    /// for a list, a QString for a text; an invalid QVariant for none, and when the handler
    /// failed or does not exist (then `failure`, if given, may say why).
    virtual QVariant call(const QString &handler, const QJsonArray &args,
                          QString *failure = nullptr) const = 0;

    /// The text the "copy_selection" handler would put on the clipboard (at most
    /// `maximumBytes` of it), for a script that can hand it over without the clipboard;
    /// nullopt when it cannot, or has nothing to hand over. A script in a process of its
    /// own never can.
    virtual std::optional<TextRead> selectionWithoutClipboard(const QJsonArray &args, qsizetype maximumBytes) const
    {
        Q_UNUSED(args);
        Q_UNUSED(maximumBytes);
        return std::nullopt;
    }
};

} // namespace glimra
