#include "LogCapture.h"

#include <QLoggingCategory>
#include <QMutex>

namespace glimra::test {

namespace {

QMutex mutex;
QStringList captured;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker locker(&mutex);
    captured.append(message);
}

} // namespace

LogCapture::LogCapture()
{
    QMutexLocker locker(&mutex);
    captured.clear();
    m_previous = qInstallMessageHandler(capture);
    // Every line the program writes when asked for details ("glimra --verbose").
    QLoggingCategory::setFilterRules(QStringLiteral("glimra.*=true"));
}

LogCapture::~LogCapture()
{
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(m_previous);
}

QStringList LogCapture::lines() const
{
    QMutexLocker locker(&mutex);
    return captured;
}

QStringList LogCapture::linesStartingWith(const QString &prefix) const
{
    QStringList matching;
    for (const QString &line : lines()) {
        if (line.startsWith(prefix))
            matching.append(line);
    }
    return matching;
}

} // namespace glimra::test
