#pragma once

#include "foundation/TextRead.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

class QObject;

class QEventLoop;

namespace glimra {

/// Every format a clipboard held, in order: enough to put it back as it was.
using ClipboardContents = QList<QPair<QString, QByteArray>>;

/// A clipboard (the desktop clipboard, or one in memory). Types are MIME types.
/// Main thread only.
class Clipboard
{
public:
    static const QString TextType;    ///< text/plain;charset=utf-8
    static const QString PDFType;     ///< application/pdf
    static const QString HTMLType;    ///< text/html
    static const QString TIFFType;    ///< image/tiff
    static const QString RTFType;     ///< text/rtf
    static const QString UriListType; ///< text/uri-list
    /// The most any read takes of another program's data, and of all formats together:
    /// a selection can be as large as its owner likes.
    static constexpr qsizetype MaximumReadBytes = 64 * 1024 * 1024;
    /// The longest a read waits for another program to hand its data over, the whole
    /// transfer included.
    static constexpr int ReadDeadlineSeconds = 2;

    virtual ~Clipboard();

    /// Makes `types` the clipboard's only types, with no data yet. Everything the
    /// clipboard held before is discarded.
    virtual void setTypes(const QStringList &types) = 0;
    /// Stores `data` under one of the declared types; false for a type not declared.
    virtual bool setData(const QByteArray &data, const QString &type) = 0;
    /// Makes `text` the clipboard's only content (TextType).
    void setText(const QString &text);

    virtual QStringList types() const = 0;
    /// The data of `type`, or a null QByteArray when the clipboard has no such type.
    virtual QByteArray data(const QString &type) const = 0;
    /// The clipboard's plain text, or a null text.
    virtual QString text() const;
    /// Its plain text, at most `maximumBytes` of UTF-8 of it, and whether its owner handed
    /// it over in time. What captures read.
    virtual TextRead readText(qsizetype maximumBytes) const;

    /// Every format with its data, and putting such a snapshot back.
    virtual ClipboardContents contents() const;
    virtual void setContents(const ClipboardContents &contents);
    /// Every format whole, or nullopt (and `why`) when they could not be read whole: an
    /// owner that did not hand them over in time, or more than MaximumReadBytes.
    virtual std::optional<ClipboardContents> wholeContents(QString *why = nullptr) const;

    /// This program serves the clipboard's contents to others (the desktop clipboard
    /// after this program wrote to it): they are gone when it exits unless handed over.
    virtual bool isOwnedHere() const { return false; }
    /// Other programs read it: the desktop's clipboard, not one in memory that goes with
    /// this program.
    virtual bool isShared() const { return false; }
    /// Calls `then` once another program has fetched the data this program put on the
    /// clipboard (asked for one of its formats and was served), or when `bound` has passed
    /// without that; the event loop runs meanwhile. One nobody else reads: at once.
    virtual void whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then);
    /// Calls `then`, for as long as `context` lives, each time another program takes over
    /// the clipboard from this one; false where nobody tells this clipboard so (one in memory).
    virtual bool whenOwnershipLost(QObject *context, const std::function<void()> &then);

    /// Waits, with the event loop running, until the clipboard changes (it is written, or
    /// another program takes it) or `deadline` passes; true when it changed. A clipboard
    /// whose changes nobody reports waits until the deadline. Main thread only.
    bool waitForChange(const QDeadlineTimer &deadline);

protected:
    /// Ends the waits for a change; implementations call it whenever the contents change.
    void changed();

private:
    quint64 m_changes = 0;
    QList<QEventLoop *> m_waiting;
};

} // namespace glimra
