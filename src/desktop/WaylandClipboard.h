#pragma once

#include "platform/Clipboard.h"
#include "desktop/wayland/DataControl.h"

#include <QPointer>

#include <memory>

namespace glimra {

class WaylandSession;

/// A selection of a Wayland seat (the clipboard, or PRIMARY: the text selected last), read
/// and owned through the compositor's data control, without the keyboard focus: what the
/// program reads of a native window's selection where XWayland sees none of it. Reads
/// happen only when asked, wait with the event loop running, at most ReadDeadlineSeconds
/// for the whole transfer and MaximumReadBytes of all formats, and keep nothing. What it
/// owns it serves from memory until another program takes the selection. Keeps its
/// session open. Main thread only.
class WaylandClipboard : public Clipboard
{
public:
    WaylandClipboard(std::shared_ptr<WaylandSession> session, DataControl *control, SelectionKind kind);
    ~WaylandClipboard() override;

    void setTypes(const QStringList &types) override;
    bool setData(const QByteArray &data, const QString &type) override;
    QStringList types() const override;
    QByteArray data(const QString &type) const override;
    TextRead readText(qsizetype maximumBytes) const override;
    ClipboardContents contents() const override;
    std::optional<ClipboardContents> wholeContents(QString *why = nullptr) const override;

    bool isOwnedHere() const override;
    bool isShared() const override { return true; }
    /// Fetched once another program was served one of the formats this program owns and no
    /// further request came for a moment (one that asks for several is served them all).
    void whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then) override;
    /// Told by the compositor cancelling this program's source (DataControl::ownershipLost).
    bool whenOwnershipLost(QObject *context, const std::function<void()> &then) override;

private:
    /// One read of the formats in `types` (all when empty), within the read bounds.
    SelectionRead readFormats(const QStringList &types, qsizetype maximumBytes) const;
    void publish();

    std::shared_ptr<WaylandSession> m_session;
    QPointer<DataControl> m_control;
    SelectionKind m_kind;
    ClipboardContents m_declared;
};

} // namespace glimra
