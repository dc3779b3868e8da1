#pragma once

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace glimra {

/// Waits until another X client has fetched this program's selection (CLIPBOARD or
/// PRIMARY): a request for one of its formats, not for TARGETS, TIMESTAMP or the like,
/// followed by a quiet moment; or until a bound passes. Qt serves the request itself on the
/// same turn of the event loop; the watch only looks. Deletes itself after `then`. Main
/// thread only; needs Qt's xcb platform.
class SelectionRequestWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    /// How long no further request must come after a fetch.
    static constexpr std::chrono::milliseconds Quiet{250};

    static void start(QClipboard::Mode mode, std::chrono::milliseconds bound, std::function<void()> then);
    ~SelectionRequestWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    SelectionRequestWatch(QClipboard::Mode mode, std::chrono::milliseconds bound, std::function<void()> then);
    void end();

    quint32 m_selection = 0;
    QList<quint32> m_notData;
    std::function<void()> m_then;
    QTimer m_bound;
    QTimer m_quiet;
};

} // namespace glimra
