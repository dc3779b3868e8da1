#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>

#include <chrono>

namespace glimra {

class WaylandSession;

/// The two selections of a seat: what was copied, and what is selected.
enum class SelectionKind { Clipboard, Primary };

/// Every format of a selection with its data, in the order offered: enough to put it back.
using SelectionFormats = QList<QPair<QString, QByteArray>>;

/// Bounds of one read of a selection: one deadline for the whole transfer, and a cap on
/// the bytes of all its formats together.
struct TransferLimits
{
    std::chrono::milliseconds timeout{1000};
    qsizetype maximumBytes = 16 * 1024 * 1024;
};

/// What a read of a selection gave.
struct SelectionRead
{
    SelectionFormats formats;
    /// Every format asked for arrived whole.
    bool complete = false;
    /// Why not, in a few words; empty when complete.
    QString problem;
    /// Not complete because a format held more than the limit: its beginning (the limit
    /// and a little more) is the last of `formats`.
    bool tooLarge = false;
};

/// Reads and owns the seat's selections without having the keyboard focus, through a data
/// control protocol (ext_data_control_manager_v1, or the wlroots one it replaced). It reads
/// only when asked, keeps nothing it read, and never logs what a selection holds: it sees
/// every copy made on the desktop. Made by create(); a child of its session. Main thread
/// only.
class DataControl : public QObject
{
    Q_OBJECT
public:
    /// The MIME types that hold plain text, the preferred first.
    static const QStringList TextTypes;

    /// The data control of `session`'s seat: ext_data_control_manager_v1 where offered,
    /// else zwlr_data_control_manager_v1 (PRIMARY from its version 2 on); null when the
    /// compositor offers neither, or no seat.
    static DataControl *create(WaylandSession &session);

    /// The protocol in use ("ext_data_control_manager_v1" or "zwlr_data_control_manager_v1").
    virtual QString interfaceName() const = 0;
    virtual bool hasPrimary() const = 0;

    /// The MIME types the selection offers now (empty when it holds nothing), after
    /// asking the compositor, so that a copy made just before is seen.
    virtual QStringList formats(SelectionKind kind, std::chrono::milliseconds timeout) = 0;
    /// Reads the selection's formats named in `types` that it offers, in its order (every
    /// format when `types` is empty), waiting with the event loop running.
    virtual SelectionRead read(SelectionKind kind, const QStringList &types,
                               const TransferLimits &limits) = 0;
    /// The selection's text in the first of TextTypes it offers; null when it offers
    /// none, or it did not arrive whole (the reason goes to `problem`).
    QByteArray readText(SelectionKind kind, const TransferLimits &limits, QString *problem = nullptr);

    /// Makes this program the selection's owner, serving `formats` from memory until
    /// another program takes it (ownershipLost). Empty `formats` clears the selection.
    virtual bool own(SelectionKind kind, const SelectionFormats &formats) = 0;
    virtual bool owns(SelectionKind kind) const = 0;

signals:
    /// The selection changed (anyone's copy, this program's own included).
    void selectionChanged(glimra::SelectionKind kind);
    /// Another program took a selection this program owned.
    void ownershipLost(glimra::SelectionKind kind);
    /// Another program asked for a format of a selection this program owns, and is being
    /// served it.
    void served(glimra::SelectionKind kind);

protected:
    using QObject::QObject;
};

} // namespace glimra
