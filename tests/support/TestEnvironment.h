#pragma once

#include "matching/MatchRun.h"
#include "platform/Platform.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace glimra {
class PluginManager;
}

namespace glimra::test {

/// A test whose home, XDG config, data and state folders are fresh temporary folders, so that
/// no test sees the user's settings or plug-ins, or another test's.
class IsolatedTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The absolute path of `relative` inside the temporary folder.
    QString path(const QString &relative = {}) const;
    /// Writes `contents` to `relative` (creating folders); returns the absolute path.
    QString writeFile(const QString &relative, const QByteArray &contents, bool executable = false);
    /// Stores a user default through the real settings file.
    void setDefault(const QString &key, const QJsonValue &value);
    /// The user plug-in folder of this test.
    QString userPluginsDir() const;
    /// A run of the matchers with the settings as they are now, as a guess would begin.
    MatchRun currentRun() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_savedHome;
    QByteArray m_savedConfig;
    QByteArray m_savedData;
    QByteArray m_savedState;
};

/// The path of a fixture program in tests/fixtures.
QString fixture(const QString &name);

/// Whether the process `pid` still runs.
bool processAlive(qint64 pid);
/// The pid a program wrote to `file`, once it has (waiting up to 15 s); 0 if it never did.
qint64 pidWrittenTo(const QString &file);

/// A plug-in manager with the program's own built-in matchers, actions and hosts.
std::unique_ptr<PluginManager> builtInPluginManager(const Platform &platform);

} // namespace glimra::test
