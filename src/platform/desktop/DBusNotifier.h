#pragma once

#include "platform/Notifier.h"

namespace glimra {

/// Desktop notifications through org.freedesktop.Notifications.Notify on the session bus:
/// application name "Glimra", summary = title, body = description, no icon, the default
/// timeout, and the notification's name and the identifier "GLIMRA" as hints. Without a
/// notification service the notification is dropped with one log line.
class DBusNotifier : public Notifier
{
public:
    void notify(const QString &title, const QString &description,
                const QString &notificationName) override;
};

} // namespace glimra
