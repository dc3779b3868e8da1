#pragma once

#include <QStringList>
#include <QtMessageHandler>

namespace glimra::test {

/// Collects every log line written while it lives (and lets nothing through to stderr),
/// with the details shown as "glimra --verbose" shows them.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    QStringList lines() const;
    /// The lines that begin with `prefix`.
    QStringList linesStartingWith(const QString &prefix) const;

private:
    QtMessageHandler m_previous;
};

} // namespace glimra::test
