#include "GlimraProcess.h"

#include <QJsonDocument>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace glimra::test {

QJsonObject GlimraRun::json() const
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

GlimraRun runGlimra(const QStringList &arguments, const QByteArray &input,
                    QProcessEnvironment environment)
{
    if (!environment.contains(u"GLIMRA_KEEP_DISPLAY"_s))
        environment.remove(u"DISPLAY"_s);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(GLIMRA_BINARY), arguments);
    process.write(input);
    process.closeWriteChannel();
    GlimraRun run;
    // The event loop runs meanwhile: the test may own the clipboard or serve a bus name
    // that glimra talks to.
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "glimra did not finish";
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace glimra::test
