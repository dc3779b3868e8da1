#pragma once

#include "platform/Notifier.h"

#include <memory>
#include <optional>

namespace glimra {

/// Desktop notifications through org.freedesktop.Notifications.Notify on the session bus:
/// application name "Glimra", summary = title, body = description, no icon, the default
/// timeout, and the notification's name and the identifier "GLIMRA" as hints. Where the
/// server reads the body as markup, or has not said that it does not, "&", "<" and ">" are
/// escaped, so a selection shows as written. Without a notification service the
/// notification is dropped with one log line.
class DBusNotifier : public Notifier
{
public:
    enum class Delivery {
        /// Each call waits (up to 2 s) for the server's reply: a short-lived process must
        /// not exit before its message has left.
        WaitForReply,
        /// Nothing waits for the server, which a program that lives on can afford: a slow
        /// or hung notification server never holds up a guess. Main thread only.
        Detached,
    };

    explicit DBusNotifier(Delivery delivery = Delivery::WaitForReply);

    void notify(const QString &title, const QString &description,
                const QString &notificationName) override;

private:
    bool serverReadsMarkup();

    Delivery m_delivery;
    // Whether the server reads markup: asked once; unknown until it answers. Detached, the
    // answer arrives later, hence shared with the callback that records it.
    bool m_asked = false;
    std::shared_ptr<std::optional<bool>> m_markup = std::make_shared<std::optional<bool>>();
};

} // namespace glimra
