#include "desktop/X11SelectionReader.h"

#include <QEventLoop>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <xcb/xcb.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace glimra {

struct X11SelectionReader::Connection
{
    xcb_connection_t *xcb = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_atom_t property = XCB_NONE; // where owners put what they hand over
    xcb_atom_t incremental = XCB_NONE;
    QHash<QByteArray, xcb_atom_t> atoms;

    ~Connection()
    {
        if (xcb)
            xcb_disconnect(xcb);
    }

    xcb_atom_t atom(const QByteArray &name)
    {
        if (const auto known = atoms.constFind(name); known != atoms.constEnd())
            return *known;
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            xcb, xcb_intern_atom(xcb, 0, uint16_t(std::min<qsizetype>(name.size(), UINT16_MAX)), name.constData()),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_NONE);
        std::free(reply);
        if (atom != XCB_NONE)
            atoms.insert(name, atom);
        return atom;
    }

    // Every name in one round trip.
    QByteArrayList names(const QList<xcb_atom_t> &list)
    {
        QList<xcb_get_atom_name_cookie_t> cookies;
        for (const xcb_atom_t atom : list)
            cookies.append(xcb_get_atom_name(xcb, atom));
        QByteArrayList result;
        for (const xcb_get_atom_name_cookie_t &cookie : std::as_const(cookies)) {
            xcb_get_atom_name_reply_t *reply = xcb_get_atom_name_reply(xcb, cookie, nullptr);
            result.append(reply ? QByteArray(xcb_get_atom_name_name(reply), xcb_get_atom_name_name_length(reply))
                                : QByteArray());
            std::free(reply);
        }
        return result;
    }
};

struct X11SelectionReader::Transfer
{
    xcb_window_t window = XCB_NONE;
    xcb_atom_t selection = XCB_NONE;
    QByteArrayList targets;
    qsizetype next = 0; // the target to ask for next
    qsizetype maximum = 0;
    Data data;
    bool incremental = false;
    Done done;
};

std::unique_ptr<X11SelectionReader> X11SelectionReader::connect(QObject *parent)
{
    auto connection = std::make_unique<Connection>();
    int screen = 0;
    connection->xcb = xcb_connect(nullptr, &screen);
    if (!connection->xcb || xcb_connection_has_error(connection->xcb))
        return nullptr;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection->xcb));
    for (int i = 0; i < screen && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return nullptr;
    connection->root = screens.data->root;
    connection->property = connection->atom("GLIMRA_SELECTION");
    connection->incremental = connection->atom("INCR");
    return std::unique_ptr<X11SelectionReader>(new X11SelectionReader(std::move(connection), parent));
}

X11SelectionReader::X11SelectionReader(std::unique_ptr<Connection> connection, QObject *parent)
    : QObject(parent), d(std::move(connection))
{
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(d->xcb), QSocketNotifier::Read, this);
    QObject::connect(m_notifier, &QSocketNotifier::activated, this, &X11SelectionReader::readEvents);
}

X11SelectionReader::~X11SelectionReader() = default;

quint32 X11SelectionReader::read(const QByteArray &selection, const QByteArrayList &targets,
                                 qsizetype maximumBytes, QDeadlineTimer deadline, Done done)
{
    auto transfer = std::make_unique<Transfer>();
    transfer->window = xcb_generate_id(d->xcb);
    // Its own window hears of nothing but the properties the owner writes on it.
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(d->xcb, XCB_COPY_FROM_PARENT, transfer->window, d->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    transfer->selection = d->atom(selection);
    transfer->targets = targets;
    transfer->maximum = std::max<qsizetype>(maximumBytes, 0);
    transfer->done = std::move(done);
    const quint32 id = ++m_lastTransfer;
    // Precise: a coarse timer may fire a twentieth early, and the deadline is a promise.
    QTimer::singleShot(int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX)), Qt::PreciseTimer, this,
                       [this, id] {
        Data late;
        late.timedOut = true;
        finish(id, late);
    });
    Transfer &started = *transfer;
    m_transfers.emplace(id, std::move(transfer));
    askForNextTarget(started);
    // Events that came with the replies above are not announced by the socket.
    QTimer::singleShot(0, this, &X11SelectionReader::readEvents);
    return id;
}

void X11SelectionReader::cancel(quint32 transfer)
{
    const auto found = m_transfers.find(transfer);
    if (found == m_transfers.end())
        return;
    found->second->done = nullptr;
    finish(transfer, {});
}

X11SelectionReader::Data X11SelectionReader::readAndWait(const QByteArray &selection, const QByteArrayList &targets,
                                                         qsizetype maximumBytes, QDeadlineTimer deadline)
{
    Data result;
    bool ended = false;
    QEventLoop loop;
    const quint32 transfer = read(selection, targets, maximumBytes, deadline, [&](const Data &data) {
        result = data;
        ended = true;
        loop.quit();
    });
    loop.exec();
    if (!ended) {
        cancel(transfer);
        result = Data();
        result.timedOut = true;
    }
    return result;
}

QByteArrayList X11SelectionReader::atomNames(const QByteArray &atoms)
{
    QList<xcb_atom_t> list;
    for (qsizetype at = 0; at + qsizetype(sizeof(xcb_atom_t)) <= atoms.size(); at += sizeof(xcb_atom_t)) {
        xcb_atom_t atom = XCB_NONE;
        std::memcpy(&atom, atoms.constData() + at, sizeof atom);
        if (atom != XCB_NONE)
            list.append(atom);
    }
    return d->names(list);
}

X11SelectionReader::Transfer *X11SelectionReader::transferOf(quint32 window)
{
    for (const auto &[id, transfer] : m_transfers) {
        if (transfer->window == window)
            return transfer.get();
    }
    return nullptr;
}

quint32 X11SelectionReader::idOf(const Transfer &transfer) const
{
    for (const auto &[id, entry] : m_transfers) {
        if (entry.get() == &transfer)
            return id;
    }
    return 0;
}

void X11SelectionReader::askForNextTarget(Transfer &transfer)
{
    if (transfer.next >= transfer.targets.size()) {
        // Nothing the owner could give: said on the next turn, as read() promises.
        const quint32 id = idOf(transfer);
        QTimer::singleShot(0, this, [this, id] { finish(id, {}); });
        return;
    }
    transfer.data.target = transfer.targets.at(transfer.next++);
    xcb_convert_selection(d->xcb, transfer.window, transfer.selection, d->atom(transfer.data.target), d->property,
                          XCB_CURRENT_TIME);
    xcb_flush(d->xcb);
}

void X11SelectionReader::readEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(d->xcb)) {
        handleEvent(event);
        std::free(event);
    }
    if (xcb_connection_has_error(d->xcb)) {
        // The X server went away: nothing more will come.
        m_notifier->setEnabled(false);
        while (!m_transfers.empty()) {
            Data lost;
            lost.timedOut = true;
            finish(m_transfers.begin()->first, lost);
        }
    }
}

void X11SelectionReader::handleEvent(const void *generic)
{
    const auto *event = static_cast<const xcb_generic_event_t *>(generic);
    switch (event->response_type & ~0x80) {
    case XCB_SELECTION_NOTIFY: {
        const auto *notify = static_cast<const xcb_selection_notify_event_t *>(generic);
        Transfer *transfer = transferOf(notify->requestor);
        if (!transfer || transfer->incremental)
            return;
        if (notify->property == XCB_NONE)
            return askForNextTarget(*transfer); // refused: the next target, if any
        return takeProperty(*transfer);
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto *notify = static_cast<const xcb_property_notify_event_t *>(generic);
        Transfer *transfer = transferOf(notify->window);
        // Before the owner's answer, the property it writes is announced too: only the
        // pieces of a transfer in pieces are read here.
        if (transfer && transfer->incremental && notify->atom == d->property
            && notify->state == XCB_PROPERTY_NEW_VALUE)
            takeIncrementalPiece(*transfer);
        return;
    }
    default:
        return;
    }
}

namespace {

// How many 32-bit units to ask for to learn whether more than `bytes` are there.
uint32_t unitsFor(qsizetype bytes)
{
    return uint32_t(std::min<qsizetype>(bytes / 4 + 1, UINT32_MAX / 4));
}

} // namespace

void X11SelectionReader::takeProperty(Transfer &transfer)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        d->xcb,
        xcb_get_property(d->xcb, 0, transfer.window, d->property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         unitsFor(transfer.maximum)),
        nullptr);
    if (!reply)
        return finish(idOf(transfer), {});
    if (reply->type == d->incremental) {
        // In pieces: deleting the property asks for the first.
        std::free(reply);
        transfer.incremental = true;
        xcb_delete_property(d->xcb, transfer.window, d->property);
        xcb_flush(d->xcb);
        return;
    }
    const qsizetype length = xcb_get_property_value_length(reply);
    Data data = transfer.data;
    data.found = true;
    data.bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                            std::min(length, transfer.maximum));
    data.cut = length > transfer.maximum || reply->bytes_after > 0;
    data.type = d->names({reply->type}).value(0);
    std::free(reply);
    finish(idOf(transfer), data);
}

void X11SelectionReader::takeIncrementalPiece(Transfer &transfer)
{
    const qsizetype room = transfer.maximum - transfer.data.bytes.size();
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        d->xcb,
        xcb_get_property(d->xcb, 1, transfer.window, d->property, XCB_GET_PROPERTY_TYPE_ANY, 0, unitsFor(room)),
        nullptr);
    if (!reply)
        return finish(idOf(transfer), {});
    const qsizetype length = xcb_get_property_value_length(reply);
    Data &data = transfer.data;
    data.found = true;
    if (data.type.isNull())
        data.type = d->names({reply->type}).value(0);
    if (data.bytes.isNull())
        data.bytes = QByteArray(""); // an empty text is still a text
    data.bytes.append(static_cast<const char *>(xcb_get_property_value(reply)), std::min(length, room));
    const bool more = length > room || reply->bytes_after > 0;
    std::free(reply);
    xcb_flush(d->xcb);
    // A piece of length 0 ends the transfer; past the limit, the rest is never read.
    if (length == 0 || more) {
        data.cut = more;
        finish(idOf(transfer), data);
    }
}

void X11SelectionReader::finish(quint32 id, Data data)
{
    const auto found = m_transfers.find(id);
    if (found == m_transfers.end())
        return;
    const std::unique_ptr<Transfer> transfer = std::move(found->second);
    m_transfers.erase(found);
    xcb_destroy_window(d->xcb, transfer->window);
    xcb_flush(d->xcb);
    if (transfer->done)
        transfer->done(data);
}

} // namespace glimra
