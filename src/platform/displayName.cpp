#include "platform/displayName.h"

using namespace Qt::StringLiterals;

namespace glimra {

QString displayName(const QString &display)
{
    const qsizetype colon = display.lastIndexOf(u':');
    if (colon < 0)
        return display;
    QString host = display.left(colon);
    if (host == u"unix"_s || host == u"localhost"_s)
        host.clear();
    QString number = display.mid(colon + 1);
    number.truncate(number.indexOf(u'.') < 0 ? number.size() : number.indexOf(u'.'));
    return host + u':' + number;
}

} // namespace glimra
