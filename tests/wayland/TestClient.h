#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <chrono>
#include <optional>

namespace glimra::test {

/// A native Wayland window of wayland_test_client, and the lines it reports.
class TestClient
{
public:
    struct Options
    {
        QString appId;
        QString title;
        QByteArray clipboard; ///< put on the clipboard once focused (null: nothing)
        QByteArray primary;   ///< put on the primary selection once focused
        int stall = 0;        ///< milliseconds it takes to hand a selection over
        qsizetype primarySize = 0; ///< put that many bytes ("x") on the primary selection instead
        QString terminalIn{}; ///< run a shell's stand-in on a terminal in this folder, as a terminal does
        bool onXwayland = false; ///< an X11 window on the compositor's Xwayland instead of a native one
    };

    explicit TestClient(const Options &options);
    ~TestClient();

    qint64 pid() const { return m_process.processId(); }
    /// Waits (with the event loop running) for a line that starts with `prefix`, reported
    /// after the last line this returned; the line, or nullopt after `timeout`.
    std::optional<QByteArray> waitForLine(const QByteArray &prefix,
                                          std::chrono::milliseconds timeout = std::chrono::seconds(20));
    /// Every line reported so far.
    QList<QByteArray> lines() const { return m_lines; }
    /// The lines and standard error, for a failure's message.
    QString transcript() const;

private:
    void readLines();

    QProcess m_process;
    QByteArray m_pending;
    QList<QByteArray> m_lines;
    qsizetype m_consumed = 0;
};

} // namespace glimra::test
