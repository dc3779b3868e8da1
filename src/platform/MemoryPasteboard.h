#pragma once

#include "platform/Pasteboard.h"

namespace glimra {

/// A pasteboard held in memory: the general pasteboard when no display is there, and the
/// pasteboard of a Services request.
class MemoryPasteboard : public Pasteboard
{
public:
    void declareTypes(const QStringList &types) override;
    bool setData(const QByteArray &data, const QString &type) override;
    QStringList types() const override;
    QByteArray dataForType(const QString &type) const override;

private:
    PasteboardContents m_contents;
};

} // namespace glimra
