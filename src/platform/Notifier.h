#pragma once

#include <QString>

namespace glimra {

/// Posts desktop notifications. Never reports failure to its caller.
class Notifier
{
public:
    virtual ~Notifier();
    /// One notification: `title`, `description`, and the notification's name
    /// ("CommandExecuted" or "CommandError").
    virtual void notify(const QString &title, const QString &description,
                        const QString &notificationName) = 0;
};

} // namespace glimra
