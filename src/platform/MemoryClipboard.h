#pragma once

#include "platform/Clipboard.h"

namespace glimra {

/// A clipboard held in memory: the clipboard when no display is there, and the
/// clipboard of a Services request.
class MemoryClipboard : public Clipboard
{
public:
    void setTypes(const QStringList &types) override;
    bool setData(const QByteArray &data, const QString &type) override;
    QStringList types() const override;
    QByteArray data(const QString &type) const override;

private:
    ClipboardContents m_contents;
};

} // namespace glimra
