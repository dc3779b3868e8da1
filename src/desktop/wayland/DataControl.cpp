#include "DataControl.h"

#include "DataControlDevice.h"
#include "ExtDataControlProtocol.h"
#include "WaylandSession.h"
#include "WlrDataControlProtocol.h"

#include <QDeadlineTimer>

namespace glimra {

const QStringList DataControl::TextTypes = {
    QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("UTF8_STRING"),
    QStringLiteral("text/plain"), QStringLiteral("STRING"), QStringLiteral("TEXT"),
};

namespace {

template <class Protocol>
DataControl *createDevice(WaylandSession &session)
{
    if (!session.seat() || !session.version(QLatin1String(Protocol::managerName)))
        return nullptr;
    quint32 version = 0;
    auto *manager = static_cast<typename Protocol::Manager *>(
        session.bind(Protocol::managerInterface(), Protocol::maximumVersion, &version));
    return manager ? new DataControlDevice<Protocol>(session, manager, version) : nullptr;
}

} // namespace

DataControl *DataControl::create(WaylandSession &session)
{
    if (DataControl *ext = createDevice<ExtDataControlProtocol>(session))
        return ext;
    return createDevice<WlrDataControlProtocol>(session);
}

QByteArray DataControl::readText(SelectionKind kind, const TransferLimits &limits, QString *problem)
{
    // One deadline for asking and reading.
    const QDeadlineTimer deadline(limits.timeout);
    const QStringList offered = formats(kind, limits.timeout);
    for (const QString &type : TextTypes) {
        if (!offered.contains(type))
            continue;
        TransferLimits rest = limits;
        rest.timeout = std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime()));
        const SelectionRead read = this->read(kind, {type}, rest);
        if (!read.complete || read.formats.isEmpty()) {
            if (problem)
                *problem = read.problem;
            return {};
        }
        return read.formats.first().second.isNull() ? QByteArray("") : read.formats.first().second;
    }
    if (problem)
        *problem = offered.isEmpty() ? QStringLiteral("the selection is empty")
                                     : QStringLiteral("the selection holds no text");
    return {};
}

} // namespace glimra
