#pragma once

#include <QString>

namespace glimra {

/// Posts desktop notifications. Never reports failure to its caller.
class Notifier
{
public:
    /// The notification names: progress and success, and failures.
    static const QString Progress; ///< "CommandExecuted"
    static const QString Failure;  ///< "CommandError"

    virtual ~Notifier();
    /// One notification: `title`, `description`, and the notification's name (Progress or
    /// Failure).
    virtual void notify(const QString &title, const QString &description,
                        const QString &notificationName) = 0;
};

} // namespace glimra
