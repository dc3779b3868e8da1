#pragma once

#include "platform/Pasteboard.h"

#include <QClipboard>

class QMimeData;

namespace glimra {

/// The desktop clipboard (the X11 CLIPBOARD selection), or the X11 PRIMARY selection (the
/// text selected last), through QClipboard. Needs a QGuiApplication. Reading asks the owner
/// for its data, running the event loop while it answers; while this process owns the
/// selection it must keep its event loop running.
class ClipboardPasteboard : public Pasteboard
{
public:
    explicit ClipboardPasteboard(QClipboard::Mode mode = QClipboard::Clipboard) : m_mode(mode) {}

    void declareTypes(const QStringList &types) override;
    bool setData(const QByteArray &data, const QString &type) override;
    QStringList types() const override;
    QByteArray dataForType(const QString &type) const override;
    QString stringValue() const override;

    /// This process owns the selection now.
    bool ownsClipboard() const override;
    bool isShared() const override { return true; }
    /// Watches the X server's requests for the selection: fetched once a program asked for
    /// one of its formats (not merely for the list of them) and no further request came
    /// for a moment, so that one that asks for several is served them all.
    void whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then) override;

private:
    void publish(QMimeData *data);
    QClipboard::Mode m_mode;
    PasteboardContents m_declared;
};

} // namespace glimra
