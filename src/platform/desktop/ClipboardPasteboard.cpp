#include "platform/desktop/ClipboardPasteboard.h"

#include "platform/desktop/SelectionRequestWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

} // namespace

void ClipboardPasteboard::publish(QMimeData *data)
{
    clipboard()->setMimeData(data, m_mode);
}

void ClipboardPasteboard::declareTypes(const QStringList &types)
{
    m_declared.clear();
    if (types.isEmpty()) {
        // Nothing to serve: owning an empty clipboard would only keep a keeper alive.
        clipboard()->clear(m_mode);
        return;
    }
    for (const QString &type : types)
        m_declared.append({type, QByteArray("")});
    auto *data = new QMimeData;
    for (const auto &[type, bytes] : std::as_const(m_declared))
        data->setData(type, bytes);
    publish(data);
}

bool ClipboardPasteboard::setData(const QByteArray &data, const QString &type)
{
    bool declared = false;
    for (auto &entry : m_declared) {
        if (entry.first == type) {
            entry.second = data;
            declared = true;
        }
    }
    if (!declared)
        return false;
    // QClipboard takes a whole QMimeData: publish everything declared so far again.
    auto *mime = new QMimeData;
    for (const auto &[declaredType, bytes] : std::as_const(m_declared)) {
        mime->setData(declaredType, bytes);
        // Programs that ask for plain text by its short name get the same bytes.
        if (declaredType == StringType)
            mime->setText(QString::fromUtf8(bytes));
    }
    publish(mime);
    return true;
}

QStringList ClipboardPasteboard::types() const
{
    const QMimeData *data = clipboard()->mimeData(m_mode);
    return data ? data->formats() : QStringList();
}

QByteArray ClipboardPasteboard::dataForType(const QString &type) const
{
    const QMimeData *data = clipboard()->mimeData(m_mode);
    if (!data || !data->hasFormat(type))
        return {};
    return data->data(type);
}

QString ClipboardPasteboard::stringValue() const
{
    const QMimeData *data = clipboard()->mimeData(m_mode);
    if (!data || !data->hasText())
        return {};
    return data->text();
}

void ClipboardPasteboard::whenFetched(std::chrono::milliseconds bound, const std::function<void()> &then)
{
    SelectionRequestWatch::start(m_mode, bound, then);
}

bool ClipboardPasteboard::ownsClipboard() const
{
    return m_mode == QClipboard::Selection ? clipboard()->ownsSelection()
                                           : clipboard()->ownsClipboard();
}

} // namespace glimra
