#include "platform/Notifier.h"

#include "foundation/Log.h"

namespace glimra {

Notifier::~Notifier() = default;

void LogNotifier::notify(const QString &title, const QString &description,
                         const QString &notificationName)
{
    qCInfo(lcPlatform).noquote() << notificationName << title << description;
}

} // namespace glimra
