#pragma once

#include "platform/Pasteboard.h"

#include <QObject>

class QMimeData;

namespace glimra {

/// The desktop clipboard (the X11 CLIPBOARD selection) through QClipboard. Needs a
/// QGuiApplication. Reading asks the owner for its data, running the event loop while it
/// answers; while this process owns the clipboard it must keep its event loop running.
class ClipboardPasteboard : public Pasteboard
{
public:
    void declareTypes(const QStringList &types) override;
    bool setData(const QByteArray &data, const QString &type) override;
    QStringList types() const override;
    QByteArray dataForType(const QString &type) const override;
    QString stringValue() const override;

    /// This process owns the clipboard now.
    bool ownsClipboard() const override;

private:
    void publish(QMimeData *data);
    PasteboardContents m_declared;
};

} // namespace glimra
