#pragma once

#include "DataControl.h"
#include "PipeReader.h"
#include "PipeWriter.h"
#include "WaylandLog.h"
#include "WaylandSession.h"

#include <QDeadlineTimer>

#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace glimra {

/// The data control device of a seat, over either data control protocol (`Protocol`
/// names its interfaces and requests: WlrDataControlProtocol, ExtDataControlProtocol).
///
/// The compositor announces each new selection as an offer (its MIME types first, then
/// the `selection` or `primary_selection` event that makes it current); the device keeps
/// the current offer of each selection and its types, nothing else. Reading asks the
/// offer to write one type into a pipe and reads the pipe with the event loop running.
/// Owning makes a source that serves the formats it was given from memory, each transfer
/// written in the background, until the compositor cancels it.
template <class Protocol>
class DataControlDevice final : public DataControl
{
public:
    using Manager = typename Protocol::Manager;
    using Device = typename Protocol::Device;
    using Offer = typename Protocol::Offer;
    using Source = typename Protocol::Source;

    DataControlDevice(WaylandSession &session, Manager *manager, quint32 version)
        : DataControl(&session)
        , m_session(session)
        , m_manager(manager)
        , m_version(version)
        , m_device(Protocol::getDevice(manager, session.seat()))
    {
        Protocol::addListener(m_device, &deviceListener, this);
        session.flush();
    }

    ~DataControlDevice() override
    {
        for (auto &[offer, types] : m_offers)
            Protocol::destroy(offer);
        for (auto &[source, owned] : m_sources)
            Protocol::destroy(source);
        if (m_device)
            Protocol::destroy(m_device);
        Protocol::destroy(m_manager);
        m_session.flush();
    }

    QString interfaceName() const override { return QLatin1String(Protocol::managerName); }
    bool hasPrimary() const override { return m_version >= Protocol::primaryVersion; }

    QStringList formats(SelectionKind kind, std::chrono::milliseconds timeout) override
    {
        m_session.roundTrip(timeout);
        Offer *offer = current(kind);
        return offer ? m_offers.at(offer) : QStringList();
    }

    SelectionRead read(SelectionKind kind, const QStringList &types, const TransferLimits &limits) override
    {
        const QDeadlineTimer deadline(limits.timeout);
        SelectionRead result;
        if (!m_session.roundTrip(limits.timeout)) {
            result.problem = QStringLiteral("the compositor did not answer");
            return result;
        }
        Offer *const offer = current(kind);
        if (!offer) {
            result.complete = true;
            return result;
        }
        qsizetype total = 0;
        const QStringList offered = m_offers.at(offer);
        for (const QString &type : offered) {
            if (!types.isEmpty() && !types.contains(type))
                continue;
            // Another copy while reading ends the read: the formats would not belong together.
            if (current(kind) != offer) {
                result.problem = QStringLiteral("the selection changed while it was read");
                return result;
            }
            const PipeReader::Result piece = receive(offer, type, deadline, limits.maximumBytes - total);
            if (piece.status != PipeReader::Status::Complete) {
                result.problem = problemOf(piece.status);
                result.tooLarge = piece.status == PipeReader::Status::TooLarge;
                if (result.tooLarge)
                    result.formats.append({type, piece.data});
                qCInfo(lcWayland) << "reading the selection stopped at" << type << ":" << result.problem;
                return result;
            }
            total += piece.data.size();
            result.formats.append({type, piece.data});
        }
        result.complete = true;
        return result;
    }

    bool own(SelectionKind kind, const SelectionFormats &formats) override
    {
        if (!m_device || (kind == SelectionKind::Primary && !hasPrimary()))
            return false;
        Source *source = nullptr;
        if (!formats.isEmpty()) {
            source = Protocol::createSource(m_manager);
            Protocol::addListener(source, &sourceListener, this);
            for (const auto &[type, data] : formats)
                Protocol::offer(source, type.toUtf8().constData());
            m_sources[source] = {kind, formats};
        }
        if (kind == SelectionKind::Primary)
            Protocol::setPrimarySelection(m_device, source);
        else
            Protocol::setSelection(m_device, source);
        // The source it replaces is cancelled by the compositor, not here: until then it
        // may still be asked for data.
        m_owned[index(kind)] = source;
        m_session.flush();
        return true;
    }

    bool owns(SelectionKind kind) const override { return m_owned[index(kind)] != nullptr; }

private:
    struct Owned
    {
        SelectionKind kind;
        SelectionFormats formats;
    };

    static int index(SelectionKind kind) { return kind == SelectionKind::Primary ? 1 : 0; }
    Offer *current(SelectionKind kind) const { return m_current[index(kind)]; }

    static QString problemOf(PipeReader::Status status)
    {
        switch (status) {
        case PipeReader::Status::TimedOut:
            return QStringLiteral("the program holding the selection did not hand it over in time");
        case PipeReader::Status::TooLarge:
            return QStringLiteral("the selection is too large");
        default:
            return QStringLiteral("the selection could not be read");
        }
    }

    PipeReader::Result receive(Offer *offer, const QString &type, QDeadlineTimer deadline, qsizetype maximum)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return {};
        Protocol::receive(offer, type.toUtf8().constData(), fds[1]);
        ::close(fds[1]);
        m_session.flush();
        return PipeReader::readAll(fds[0], deadline, maximum);
    }

    // The current offer of a selection changed: the one it replaces is destroyed unless it
    // is still the other selection's.
    void makeCurrent(SelectionKind kind, Offer *offer)
    {
        Offer *&slot = m_current[index(kind)];
        Offer *previous = slot;
        slot = offer;
        if (previous && previous != offer && previous != m_current[1 - index(kind)]) {
            m_offers.erase(previous);
            Protocol::destroy(previous);
        }
        emit selectionChanged(kind);
    }

    static void onDataOffer(void *data, Device *, Offer *offer)
    {
        auto *self = static_cast<DataControlDevice *>(data);
        self->m_offers[offer] = {};
        Protocol::addListener(offer, &offerListener, self);
    }
    static void onSelection(void *data, Device *, Offer *offer)
    {
        static_cast<DataControlDevice *>(data)->makeCurrent(SelectionKind::Clipboard, offer);
    }
    static void onPrimarySelection(void *data, Device *, Offer *offer)
    {
        static_cast<DataControlDevice *>(data)->makeCurrent(SelectionKind::Primary, offer);
    }
    static void onFinished(void *data, Device *device)
    {
        // The seat went away: the device is no use any more.
        auto *self = static_cast<DataControlDevice *>(data);
        Protocol::destroy(device);
        self->m_device = nullptr;
        qCInfo(lcWayland) << "the data control device of the seat was withdrawn";
    }
    static void onOfferType(void *data, Offer *offer, const char *type)
    {
        auto *self = static_cast<DataControlDevice *>(data);
        auto found = self->m_offers.find(offer);
        if (found != self->m_offers.end() && !found->second.contains(QString::fromUtf8(type)))
            found->second.append(QString::fromUtf8(type));
    }
    static void onSend(void *data, Source *source, const char *type, int32_t fd)
    {
        auto *self = static_cast<DataControlDevice *>(data);
        const auto found = self->m_sources.find(source);
        if (found == self->m_sources.end()) {
            ::close(fd);
            return;
        }
        for (const auto &[offered, bytes] : std::as_const(found->second.formats)) {
            if (offered == QString::fromUtf8(type)) {
                PipeWriter::start(fd, bytes, std::chrono::seconds(5));
                emit self->served(found->second.kind);
                return;
            }
        }
        ::close(fd);
    }
    static void onCancelled(void *data, Source *source)
    {
        auto *self = static_cast<DataControlDevice *>(data);
        const auto found = self->m_sources.find(source);
        if (found == self->m_sources.end())
            return;
        const SelectionKind kind = found->second.kind;
        self->m_sources.erase(found);
        Protocol::destroy(source);
        if (self->m_owned[index(kind)] == source) {
            self->m_owned[index(kind)] = nullptr;
            emit self->ownershipLost(kind);
        }
    }

    static constexpr typename Protocol::DeviceListener deviceListener = {
        .data_offer = &DataControlDevice::onDataOffer,
        .selection = &DataControlDevice::onSelection,
        .finished = &DataControlDevice::onFinished,
        .primary_selection = &DataControlDevice::onPrimarySelection,
    };
    static constexpr typename Protocol::OfferListener offerListener = {
        .offer = &DataControlDevice::onOfferType,
    };
    static constexpr typename Protocol::SourceListener sourceListener = {
        .send = &DataControlDevice::onSend,
        .cancelled = &DataControlDevice::onCancelled,
    };

    WaylandSession &m_session;
    Manager *m_manager;
    quint32 m_version;
    Device *m_device;
    std::map<Offer *, QStringList> m_offers;
    Offer *m_current[2] = {nullptr, nullptr};
    std::map<Source *, Owned> m_sources;
    Source *m_owned[2] = {nullptr, nullptr};
};

} // namespace glimra
