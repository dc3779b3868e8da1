#include "capture/isSystemApp.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace glimra {

bool isSystemApp(const QString &nameOrIdentifier)
{
    static const QStringList systemApps = {
        u"Pelorant"_s, u"Glimra"_s, u"System Events"_s,
        // The Linux desktop's own windows, by their X11 window class: shells and desktops,
        // panels and docks, notification daemons. Nobody selects text there to guess it.
        u"Gnome-shell"_s, u"plasmashell"_s, u"krunner"_s, u"Cinnamon"_s,
        u"Xfdesktop"_s, u"Xfce4-panel"_s, u"Mate-panel"_s, u"Lxpanel"_s, u"lxqt-panel"_s,
        u"Budgie-panel"_s, u"Tint2"_s, u"Polybar"_s, u"Plank"_s, u"Cairo-dock"_s, u"Docky"_s,
        u"Conky"_s, u"Stalonetray"_s, u"Trayer"_s, u"Dunst"_s, u"Notify-osd"_s,
        u"Xfce4-notifyd"_s, u"Mate-notification-daemon"_s, u"lxqt-notificationd"_s,
        u"Notification-daemon"_s};
    return !nameOrIdentifier.isNull() && systemApps.contains(nameOrIdentifier);
}

} // namespace glimra
