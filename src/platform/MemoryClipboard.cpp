#include "platform/MemoryClipboard.h"

namespace glimra {

void MemoryClipboard::setTypes(const QStringList &types)
{
    m_contents.clear();
    for (const QString &type : types)
        m_contents.append({type, QByteArray("")});
    changed();
}

bool MemoryClipboard::setData(const QByteArray &data, const QString &type)
{
    for (auto &entry : m_contents) {
        if (entry.first == type) {
            entry.second = data.isNull() ? QByteArray("") : data;
            changed();
            return true;
        }
    }
    return false;
}

QStringList MemoryClipboard::types() const
{
    QStringList all;
    for (const auto &entry : m_contents)
        all.append(entry.first);
    return all;
}

QByteArray MemoryClipboard::data(const QString &type) const
{
    for (const auto &entry : m_contents) {
        if (entry.first == type)
            return entry.second;
    }
    return {};
}

} // namespace glimra
