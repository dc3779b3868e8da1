#include "capture/isSystemApp.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace glimra {

bool isSystemApp(const QString &nameOrIdentifier)
{
    static const QStringList systemApps = {u"GrowlHelperApp"_s, u"Pelorant"_s, u"Glimra"_s,
                                           u"System Events"_s};
    return !nameOrIdentifier.isNull() && systemApps.contains(nameOrIdentifier);
}

} // namespace glimra
