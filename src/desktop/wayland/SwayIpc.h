#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QRect>
#include <QString>

#include <chrono>
#include <optional>

namespace glimra {

/// A client of sway's IPC socket ($SWAYSOCK), for what the Wayland protocols do not tell:
/// the process of the focused window. Each call opens the socket, sends one message and
/// waits for the answer with the event loop running, within a time bound.
class SwayIpc
{
public:
    /// The focused window as sway's tree describes it.
    struct FocusedWindow
    {
        qint64 pid = 0;
        QString appId;       ///< a native window's app_id; empty for an XWayland one
        QString windowClass; ///< an XWayland window's WM_CLASS class; empty for a native one
        QString title;
        QRect rect; ///< where it is in sway's layout (the desktop's coordinates)
    };

    /// `socket`: the IPC socket's path (empty: $SWAYSOCK).
    explicit SwayIpc(QString socket = {});

    QString socketPath() const { return m_socket; }
    /// The focused window; nullopt, with the reason in `problem`, when sway did not answer
    /// or no window has the focus.
    std::optional<FocusedWindow> focusedWindow(std::chrono::milliseconds timeout, QString *problem = nullptr) const;
    /// Runs sway commands (as `swaymsg` does); false, with the reason, when one failed.
    bool runCommand(const QString &command, std::chrono::milliseconds timeout, QString *problem = nullptr) const;

    /// The focused node of a tree as get_tree answers it (exposed for tests).
    static std::optional<FocusedWindow> findFocused(const QJsonObject &node);

private:
    std::optional<QByteArray> request(quint32 type, const QByteArray &payload,
                                      std::chrono::milliseconds timeout, QString *problem) const;

    static std::optional<QByteArray> readReply(int fd, QDeadlineTimer deadline, QString *problem);

    QString m_socket;
};

} // namespace glimra
