#pragma once

#include <QJsonObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace glimra::test {

/// What one run of the glimra program gave.
struct GlimraRun
{
    int exitCode = -1;
    QString out;
    QString err;
    QJsonObject json() const;
};

/// Runs the built glimra with `arguments` and `input`, in this process's environment
/// (whose home and XDG folders the test has isolated) without a display unless
/// `environment` says otherwise.
GlimraRun runGlimra(const QStringList &arguments, const QByteArray &input = {},
                    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

/// Runs the built glimra with `arguments` with its standard output and standard error on a
/// terminal of their own (a pseudo-terminal), in this process's environment without a
/// display. `out` holds what the terminal received, both streams, line breaks as "\n".
GlimraRun runGlimraOnTerminal(const QStringList &arguments);

} // namespace glimra::test
