#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace glimra {

/// Every format a pasteboard held, in order: enough to put it back as it was.
using PasteboardContents = QList<QPair<QString, QByteArray>>;

/// A pasteboard (the desktop clipboard, or one in memory). Types are MIME types.
/// Main thread only.
class Pasteboard
{
public:
    static const QString StringType;    ///< text/plain;charset=utf-8
    static const QString PDFType;       ///< application/pdf
    static const QString HTMLType;      ///< text/html
    static const QString TIFFType;      ///< image/tiff
    static const QString RTFType;       ///< text/rtf
    static const QString FilenamesType; ///< text/uri-list

    virtual ~Pasteboard();

    /// Makes `types` the pasteboard's only types, with no data yet. Everything the
    /// pasteboard held before is discarded.
    virtual void declareTypes(const QStringList &types) = 0;
    /// Stores `data` under one of the declared types; false for a type not declared.
    virtual bool setData(const QByteArray &data, const QString &type) = 0;
    bool setString(const QString &text, const QString &type);

    virtual QStringList types() const = 0;
    /// The data of `type`, or a null QByteArray when the pasteboard has no such type.
    virtual QByteArray dataForType(const QString &type) const = 0;
    /// The pasteboard's plain text, or a null text.
    virtual QString stringValue() const;

    /// Every format with its data, and putting such a snapshot back.
    virtual PasteboardContents contents() const;
    virtual void setContents(const PasteboardContents &contents);

    /// This program serves the pasteboard's contents to others (the desktop clipboard
    /// after this program wrote to it): they are gone when it exits unless handed over.
    virtual bool ownsClipboard() const { return false; }
    /// Other programs read it: the desktop's clipboard, not one in memory that goes with
    /// this program.
    virtual bool isShared() const { return false; }
    /// Calls `then` once another program has fetched the data this program put on the
    /// pasteboard (asked for one of its formats and was served), or when `bound` has passed
    /// without that; the event loop runs meanwhile. One nobody else reads: at once.
    virtual void whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then);
};

} // namespace glimra
