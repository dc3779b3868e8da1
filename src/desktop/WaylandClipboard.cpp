#include "desktop/WaylandClipboard.h"

#include "desktop/wayland/WaylandSession.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace glimra {

namespace {

constexpr std::chrono::milliseconds ReadDeadline = std::chrono::seconds(Clipboard::ReadDeadlineSeconds);
// How long after a request for the selection no other has to come for it to count as fetched.
constexpr std::chrono::milliseconds QuietAfterRequest{100};

} // namespace

WaylandClipboard::WaylandClipboard(std::shared_ptr<WaylandSession> session, DataControl *control,
                                   SelectionKind kind)
    : m_session(std::move(session)), m_control(control), m_kind(kind)
{
}

WaylandClipboard::~WaylandClipboard() = default;

void WaylandClipboard::setTypes(const QStringList &types)
{
    m_declared.clear();
    for (const QString &type : types)
        m_declared.append({type, QByteArray()});
    publish();
}

bool WaylandClipboard::setData(const QByteArray &data, const QString &type)
{
    for (auto &[declared, bytes] : m_declared) {
        if (declared == type) {
            bytes = data;
            publish();
            return true;
        }
    }
    return false;
}

void WaylandClipboard::publish()
{
    // Each change is offered anew: the compositor cancels the source it replaces.
    if (m_control)
        m_control->own(m_kind, m_declared);
}

bool WaylandClipboard::isOwnedHere() const
{
    return m_control && m_control->owns(m_kind);
}

QStringList WaylandClipboard::types() const
{
    if (isOwnedHere()) {
        QStringList types;
        for (const auto &[type, data] : m_declared)
            types.append(type);
        return types;
    }
    return m_control ? m_control->formats(m_kind, ReadDeadline) : QStringList();
}

QByteArray WaylandClipboard::data(const QString &type) const
{
    if (isOwnedHere()) {
        for (const auto &[declared, bytes] : m_declared) {
            if (declared == type)
                return bytes.isNull() ? QByteArray("") : bytes;
        }
        return {};
    }
    const SelectionRead read = readFormats({type}, MaximumReadBytes);
    if (!read.complete || read.formats.isEmpty())
        return {};
    const QByteArray bytes = read.formats.first().second;
    return bytes.isNull() ? QByteArray("") : bytes;
}

bool WaylandClipboard::whenOwnershipLost(QObject *context, const std::function<void()> &then)
{
    if (!m_control)
        return false;
    QObject::connect(m_control, &DataControl::ownershipLost, context, [kind = m_kind, then](SelectionKind lost) {
        if (lost == kind)
            then();
    });
    return true;
}

void WaylandClipboard::whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then)
{
    if (!m_control) {
        then();
        return;
    }
    // `then` runs once, at the first of the quiet moment after a request and `bound` (which
    // comes even when the compositor went away meanwhile); the wait's objects go with it.
    auto *wait = new QObject(m_control);
    auto *quiet = new QTimer(wait);
    quiet->setSingleShot(true);
    quiet->setInterval(QuietAfterRequest);
    auto done = std::make_shared<bool>(false);
    const auto finish = [guard = QPointer<QObject>(wait), then, done] {
        if (*done)
            return;
        *done = true;
        if (guard)
            guard->deleteLater();
        then();
    };
    QObject::connect(quiet, &QTimer::timeout, wait, finish);
    QTimer::singleShot(bound, finish);
    const SelectionKind kind = m_kind;
    QObject::connect(m_control, &DataControl::served, wait, [quiet, kind](SelectionKind served) {
        if (served == kind)
            quiet->start();
    });
}

SelectionRead WaylandClipboard::readFormats(const QStringList &types, qsizetype maximumBytes) const
{
    if (!m_control)
        return {{}, false, QStringLiteral("the compositor went away")};
    TransferLimits limits;
    limits.timeout = ReadDeadline;
    limits.maximumBytes = maximumBytes;
    return m_control->read(m_kind, types, limits);
}

TextRead WaylandClipboard::readText(qsizetype maximumBytes) const
{
    if (isOwnedHere())
        return Clipboard::readText(maximumBytes);
    // The first text type the selection offers, read up to `maximumBytes` (never more than
    // any read takes): a longer one is cut there, and the rest is not read at all, as an X11
    // selection is read. An owner that does not hand it over in time reads as one that kept it.
    const QDeadlineTimer deadline(ReadDeadline);
    const QStringList offered = m_control ? m_control->formats(m_kind, ReadDeadline) : QStringList();
    for (const QString &type : DataControl::TextTypes) {
        if (!offered.contains(type))
            continue;
        TransferLimits limits;
        limits.timeout = std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime()));
        limits.maximumBytes = std::min(maximumBytes, MaximumReadBytes);
        const SelectionRead read = m_control->read(m_kind, {type}, limits);
        if (read.tooLarge && !read.formats.isEmpty())
            return TextRead::fromUtf8(read.formats.last().second, maximumBytes, true);
        if (!read.complete) {
            TextRead failed;
            failed.timedOut = true;
            return failed;
        }
        if (read.formats.isEmpty())
            return {};
        return TextRead::fromUtf8(read.formats.first().second, maximumBytes);
    }
    return {};
}

std::optional<ClipboardContents> WaylandClipboard::wholeContents(QString *why) const
{
    if (isOwnedHere())
        return m_declared;
    const SelectionRead read = readFormats({}, MaximumReadBytes);
    if (!read.complete) {
        if (why)
            *why = read.problem;
        return std::nullopt;
    }
    return read.formats;
}

ClipboardContents WaylandClipboard::contents() const
{
    return wholeContents().value_or(ClipboardContents());
}

} // namespace glimra
