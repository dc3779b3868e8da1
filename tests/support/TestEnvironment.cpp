#include "TestEnvironment.h"

#include "app/BuiltInPlugins.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <signal.h>

using namespace Qt::StringLiterals;

namespace glimra::test {

void IsolatedTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_savedHome = qgetenv("HOME");
    m_savedConfig = qgetenv("XDG_CONFIG_HOME");
    m_savedData = qgetenv("XDG_DATA_HOME");
    m_savedState = qgetenv("XDG_STATE_HOME");
    QDir().mkpath(path(u"home"_s));
    qputenv("HOME", path(u"home"_s).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", path(u"config"_s).toLocal8Bit());
    qputenv("XDG_DATA_HOME", path(u"data"_s).toLocal8Bit());
    qputenv("XDG_STATE_HOME", path(u"state"_s).toLocal8Bit());
}

void IsolatedTest::TearDown()
{
    qputenv("HOME", m_savedHome);
    qputenv("XDG_CONFIG_HOME", m_savedConfig);
    qputenv("XDG_DATA_HOME", m_savedData);
    qputenv("XDG_STATE_HOME", m_savedState);
}

QString IsolatedTest::path(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.path() + u'/' + relative;
}

QString IsolatedTest::writeFile(const QString &relative, const QByteArray &contents,
                                bool executable)
{
    const QString absolute = relative.startsWith(u'/') ? relative : path(relative);
    QDir().mkpath(QFileInfo(absolute).absolutePath());
    QFile file(absolute);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << absolute.toStdString();
    file.write(contents);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
    return absolute;
}

void IsolatedTest::setDefault(const QString &key, const QJsonValue &value)
{
    QString error;
    ASSERT_TRUE(UserDefaults().setObject(key, value, &error)) << error.toStdString();
}

QString IsolatedTest::userPluginsDir() const
{
    return path(u"data/glimra/plugins"_s);
}

MatchRun IsolatedTest::currentRun() const
{
    return {1, UserDefaults().snapshot(), nullptr};
}

std::unique_ptr<PluginManager> builtInPluginManager(const Platform &platform)
{
    return std::make_unique<PluginManager>(BuiltInPlugins(platform).catalogue(), platform.fileManager);
}

bool processAlive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

qint64 pidWrittenTo(const QString &file)
{
    QFile pidFile(file);
    if (!QTest::qWaitFor([&] { return pidFile.size() > 0; }, 15000) || !pidFile.open(QIODevice::ReadOnly))
        return 0;
    return pidFile.readAll().trimmed().toLongLong();
}

QString fixture(const QString &name)
{
    return QStringLiteral(GLIMRA_TEST_FIXTURES) + u'/' + name;
}

} // namespace glimra::test
