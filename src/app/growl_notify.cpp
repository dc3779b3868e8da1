#include "app/growl_notify.h"

#include "platform/Notifier.h"

using namespace Qt::StringLiterals;

namespace glimra {

void growl_notify(Notifier &notifier, const QString &title, const QString &description)
{
    notifier.notify(title, description, u"CommandExecuted"_s);
}

void growl_notify_error(Notifier &notifier, const QString &title, const QString &description)
{
    notifier.notify(title, description, u"CommandError"_s);
}

} // namespace glimra
