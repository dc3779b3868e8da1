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
