#pragma once

#include <QString>

namespace glimra {

class Notifier;

/// Posts a progress or success notification (name "CommandExecuted").
void growl_notify(Notifier &notifier, const QString &title, const QString &description);
/// Posts a failure notification (name "CommandError").
void growl_notify_error(Notifier &notifier, const QString &title, const QString &description);

} // namespace glimra
