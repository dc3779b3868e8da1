#pragma once

#include "platform/Notifier.h"

#include <optional>

namespace glimra {

/// Desktop notifications through org.freedesktop.Notifications.Notify on the session bus:
/// application name "Glimra", summary = title, body = description, no icon, the default
/// timeout, and the notification's name and the identifier "GLIMRA" as hints. Where the
/// server reads the body as markup, "&", "<" and ">" are escaped, so a selection shows as
/// written. Without a notification service the notification is dropped with one log line.
class DBusNotifier : public Notifier
{
public:
    void notify(const QString &title, const QString &description,
                const QString &notificationName) override;

private:
    bool serverReadsMarkup();

    std::optional<bool> m_markup; // asked once
};

} // namespace glimra
