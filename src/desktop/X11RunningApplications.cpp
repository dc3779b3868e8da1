#include "desktop/X11RunningApplications.h"

#include "platform/WindowProperties.h"

#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace glimra {

struct X11RunningApplications::Connection
{
    xcb_connection_t *xcb = nullptr;
    xcb_ewmh_connection_t ewmh{};
    int screen = 0;
    xcb_window_t root = XCB_NONE;

    ~Connection()
    {
        if (ewmh.connection)
            xcb_ewmh_connection_wipe(&ewmh);
        if (xcb)
            xcb_disconnect(xcb);
    }

    struct Window
    {
        QString windowClass;
        QString title;
        qint64 pid = 0;
        bool hidden = false;
        bool counts = true; // not a desktop, dock or panel
    };

    xcb_window_t activeWindow() const
    {
        xcb_window_t window = XCB_NONE;
        xcb_ewmh_connection_t *e = const_cast<xcb_ewmh_connection_t *>(&ewmh);
        if (!xcb_ewmh_get_active_window_reply(e, xcb_ewmh_get_active_window(e, screen), &window,
                                              nullptr))
            return XCB_NONE;
        return window;
    }

    QList<xcb_window_t> clientWindows() const
    {
        QList<xcb_window_t> windows;
        xcb_ewmh_connection_t *e = const_cast<xcb_ewmh_connection_t *>(&ewmh);
        xcb_ewmh_get_windows_reply_t list;
        if (xcb_ewmh_get_client_list_reply(e, xcb_ewmh_get_client_list(e, screen), &list, nullptr)) {
            for (uint32_t i = 0; i < list.windows_len; ++i)
                windows.append(list.windows[i]);
            xcb_ewmh_get_windows_reply_wipe(&list);
        }
        return windows;
    }

    static bool holds(const xcb_ewmh_get_atoms_reply_t &atoms, xcb_atom_t atom)
    {
        for (uint32_t i = 0; i < atoms.atoms_len; ++i) {
            if (atoms.atoms[i] == atom)
                return true;
        }
        return false;
    }

    Window describe(xcb_window_t window) const
    {
        Window description;
        xcb_ewmh_connection_t *e = const_cast<xcb_ewmh_connection_t *>(&ewmh);
        // Send every request first, then collect the replies: one round trip, not five.
        // WM_CLASS whole, up to a bound: xcb_icccm_get_wm_class reads 8 KiB of it and, when
        // that cuts the class, leaves the class pointing past the reply.
        const auto classCookie = xcb_get_property(xcb, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0,
                                                  uint32_t(WindowProperties::MaximumBytes / 4));
        const auto pidCookie = xcb_ewmh_get_wm_pid(e, window);
        const auto stateCookie = xcb_ewmh_get_wm_state(e, window);
        const auto typeCookie = xcb_ewmh_get_wm_window_type(e, window);
        const auto nameCookie = xcb_ewmh_get_wm_name(e, window);
        const auto legacyNameCookie = xcb_icccm_get_wm_name(xcb, window);

        if (xcb_get_property_reply_t *wmClass = xcb_get_property_reply(xcb, classCookie, nullptr)) {
            description.windowClass =
                WindowProperties::windowClass(QByteArrayView(static_cast<const char *>(xcb_get_property_value(wmClass)),
                                                             xcb_get_property_value_length(wmClass)))
                    .name;
            std::free(wmClass);
        }
        uint32_t pid = 0;
        if (xcb_ewmh_get_wm_pid_reply(e, pidCookie, &pid, nullptr))
            description.pid = pid;
        xcb_ewmh_get_atoms_reply_t atoms;
        if (xcb_ewmh_get_wm_state_reply(e, stateCookie, &atoms, nullptr)) {
            description.hidden = holds(atoms, ewmh._NET_WM_STATE_HIDDEN);
            xcb_ewmh_get_atoms_reply_wipe(&atoms);
        }
        if (xcb_ewmh_get_wm_window_type_reply(e, typeCookie, &atoms, nullptr)) {
            description.counts = !holds(atoms, ewmh._NET_WM_WINDOW_TYPE_DESKTOP)
                && !holds(atoms, ewmh._NET_WM_WINDOW_TYPE_DOCK);
            xcb_ewmh_get_atoms_reply_wipe(&atoms);
        }
        description.title = title(nameCookie, legacyNameCookie);
        return description;
    }

    // _NET_WM_NAME (UTF-8), else the older WM_NAME, as window lists show it.
    QString title(xcb_get_property_cookie_t nameCookie,
                  xcb_get_property_cookie_t legacyCookie) const
    {
        xcb_ewmh_connection_t *e = const_cast<xcb_ewmh_connection_t *>(&ewmh);
        QString text;
        xcb_ewmh_get_utf8_strings_reply_t name;
        if (xcb_ewmh_get_wm_name_reply(e, nameCookie, &name, nullptr)) {
            text = QString::fromUtf8(name.strings, name.strings_len);
            xcb_ewmh_get_utf8_strings_reply_wipe(&name);
        }
        xcb_icccm_get_text_property_reply_t legacy;
        if (xcb_icccm_get_wm_name_reply(xcb, legacyCookie, &legacy, nullptr)) {
            if (text.isNull()) {
                text = legacy.encoding == ewmh.UTF8_STRING
                    ? QString::fromUtf8(legacy.name, legacy.name_len)
                    : QString::fromLatin1(legacy.name, legacy.name_len);
            }
            xcb_icccm_get_text_property_reply_wipe(&legacy);
        }
        return text;
    }
};

std::unique_ptr<X11RunningApplications> X11RunningApplications::connect(QObject *parent)
{
    auto connection = std::make_unique<Connection>();
    connection->xcb = xcb_connect(nullptr, &connection->screen);
    if (!connection->xcb || xcb_connection_has_error(connection->xcb))
        return nullptr;
    xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(connection->xcb, &connection->ewmh);
    if (!xcb_ewmh_init_atoms_replies(&connection->ewmh, cookies, nullptr))
        return nullptr;
    connection->root = connection->ewmh.screens[connection->screen]->root;
    return std::unique_ptr<X11RunningApplications>(
        new X11RunningApplications(std::move(connection), parent));
}

X11RunningApplications::X11RunningApplications(std::unique_ptr<Connection> connection,
                                               QObject *parent)
    : RunningApplications(parent), d(std::move(connection))
{
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(d->xcb, d->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(d->xcb);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(d->xcb), QSocketNotifier::Read, this);
    QObject::connect(m_notifier, &QSocketNotifier::activated, this,
                     &X11RunningApplications::readEvents);
}

X11RunningApplications::~X11RunningApplications() = default;

void X11RunningApplications::readEvents()
{
    bool activeChanged = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(d->xcb)) {
        if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY) {
            const auto *property = reinterpret_cast<xcb_property_notify_event_t *>(event);
            activeChanged |= property->atom == d->ewmh._NET_ACTIVE_WINDOW;
        }
        std::free(event);
    }
    if (!activeChanged)
        return;
    if (const std::optional<RunningApplication> active = activeApplication())
        emit applicationActivated(active->windowClass, active->name);
}

QList<RunningApplication> X11RunningApplications::runningApplications() const
{
    const xcb_window_t active = d->activeWindow();
    QList<xcb_window_t> windows = d->clientWindows();
    if (active != XCB_NONE && !windows.contains(active))
        windows.append(active);

    QList<RunningApplication> applications;
    QHash<QString, qsizetype> indexByKey;
    for (const xcb_window_t window : std::as_const(windows)) {
        const Connection::Window description = d->describe(window);
        if (!description.counts)
            continue;
        const QString key = description.windowClass + u'\x1f' + QString::number(description.pid);
        qsizetype index = indexByKey.value(key, -1);
        if (index < 0) {
            RunningApplication application;
            application.hidden = true;
            application.pid = description.pid;
            if (!description.windowClass.isEmpty()) {
                application.windowClass = description.windowClass;
                const QString entryName = m_entries.nameForWindowClass(description.windowClass);
                application.name = entryName.isEmpty() ? description.windowClass : entryName;
            }
            index = applications.size();
            indexByKey.insert(key, index);
            applications.append(application);
        }
        RunningApplication &application = applications[index];
        application.hidden = application.hidden && description.hidden;
        // Its front window: the active one, else the one mapped last.
        if (!application.active) {
            application.windowId = window;
            application.windowTitle = description.title;
        }
        application.active = application.active || window == active;
    }
    // Replies may have brought events along that the socket notifier will not announce.
    QTimer::singleShot(0, const_cast<X11RunningApplications *>(this),
                       &X11RunningApplications::readEvents);
    return applications;
}

} // namespace glimra
