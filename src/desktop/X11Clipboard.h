#pragma once

#include "platform/Clipboard.h"

#include <QClipboard>
#include <QDeadlineTimer>

#include <memory>

class QMimeData;

namespace glimra {

class X11SelectionReader;

/// The desktop clipboard (the X11 CLIPBOARD selection), or the X11 PRIMARY selection (the
/// text selected last). What this process owns is read and written through QClipboard.
/// What another program owns is read on a connection of its own (X11SelectionReader):
/// each read waits for the owner at most ReadDeadlineSeconds for the whole transfer, with
/// the event loop running, and keeps at most its limit; QClipboard would wait on the owner
/// without serving anything else, five seconds for each piece. Needs a QGuiApplication;
/// while this process owns the selection it must keep its event loop running.
class X11Clipboard : public Clipboard
{
public:
    explicit X11Clipboard(QClipboard::Mode mode = QClipboard::Clipboard);
    ~X11Clipboard() override;

    void setTypes(const QStringList &types) override;
    bool setData(const QByteArray &data, const QString &type) override;
    QStringList types() const override;
    QByteArray data(const QString &type) const override;
    QString text() const override;
    TextRead readText(qsizetype maximumBytes) const override;
    ClipboardContents contents() const override;
    std::optional<ClipboardContents> wholeContents(QString *why = nullptr) const override;

    /// This process owns the selection now.
    bool isOwnedHere() const override;
    bool isShared() const override { return true; }
    /// Watches the X server's requests for the selection: fetched once a program asked for
    /// one of its formats (not merely for the list of them) and no further request came
    /// for a moment, so that one that asks for several is served them all.
    void whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then) override;
    bool whenOwnershipLost(QObject *context, const std::function<void()> &then) override;

private:
    void publish(QMimeData *data);
    /// The reader of other programs' selections; null without a display.
    X11SelectionReader *reader() const;
    QByteArray selectionName() const;
    QStringList formatsOffered(QDeadlineTimer deadline, bool *timedOut) const;

    QClipboard::Mode m_mode;
    ClipboardContents m_declared;
    mutable std::unique_ptr<X11SelectionReader> m_reader;
    QMetaObject::Connection m_watch; // reports QClipboard's changes of our mode
};

} // namespace glimra
