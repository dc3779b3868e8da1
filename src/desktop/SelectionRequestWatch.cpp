#include "desktop/SelectionRequestWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace glimra {

namespace {

quint32 atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    const quint32 value = reply ? reply->atom : 0;
    std::free(reply);
    return value;
}

} // namespace

void SelectionRequestWatch::start(QClipboard::Mode mode, std::chrono::milliseconds bound, std::function<void()> then)
{
    new SelectionRequestWatch(mode, bound, std::move(then));
}

SelectionRequestWatch::SelectionRequestWatch(QClipboard::Mode mode, std::chrono::milliseconds bound,
                                             std::function<void()> then)
    : QObject(QCoreApplication::instance()), m_then(std::move(then))
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection()) {
        xcb_connection_t *connection = x11->connection();
        m_selection = atom(connection, mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD");
        // What a program asks before it fetches, or of a clipboard manager's kind.
        for (const char *name : {"TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "DELETE"})
            m_notData.append(atom(connection, name));
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(Quiet);
    connect(&m_quiet, &QTimer::timeout, this, &SelectionRequestWatch::end);
    m_bound.setSingleShot(true);
    connect(&m_bound, &QTimer::timeout, this, &SelectionRequestWatch::end);
    m_bound.start(bound);
}

SelectionRequestWatch::~SelectionRequestWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool SelectionRequestWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !m_then)
        return false;
    const auto *event = static_cast<xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_SELECTION_REQUEST)
        return false;
    const auto *request = static_cast<xcb_selection_request_event_t *>(message);
    // Served by Qt on this same turn; the quiet moment starts (again) with each request.
    if (request->selection == m_selection && !m_notData.contains(request->target))
        m_quiet.start();
    return false;
}

void SelectionRequestWatch::end()
{
    m_bound.stop();
    m_quiet.stop();
    if (std::function<void()> then = std::exchange(m_then, {}))
        then();
    deleteLater();
}

} // namespace glimra
