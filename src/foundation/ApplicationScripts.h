#pragma once

#include "foundation/ApplicationScript.h"
#include "foundation/ProgramRunner.h"

#include <QHash>
#include <QString>

#include <memory>

namespace glimra {

/// Finds the application scripts by name: "NAME.scpt" in "${APP_SUPPORT}/Glimra/AppScripts"
/// (the user's), then the built-in script registered as NAME, then "NAME.scpt" in
/// "${APP_RESOURCES}/AppScripts" (shipped). A built-in script stands in for the shipped file
/// of its name, and a user's file replaces either. The generic scripts, for applications
/// without scripts of their own, are "default" and "default-selection"; a user's file under
/// their older names replaces them too, unless one under the new name does. Main thread only.
class ApplicationScripts
{
public:
    /// The generic scripts: the front window's report, and the copy of its selection.
    inline static const QString Default = QStringLiteral("default");
    inline static const QString DefaultSelection = QStringLiteral("default-selection");

    /// The scripts found in files run through `runner`, which must outlive them.
    explicit ApplicationScripts(ProgramRunner &runner = ProgramRunner::standard()) : m_runner(runner) {}
    virtual ~ApplicationScripts() = default;
    /// The script registered under `name`, or null.
    virtual std::shared_ptr<ApplicationScript> find(const QString &name) const;
    /// Makes `script` (shared) the built-in script named `name`.
    void registerBuiltIn(const QString &name, std::shared_ptr<ApplicationScript> script);
    static QString userScriptsDir();
    static QString shippedScriptsDir();

private:
    static QString usersFile(const QString &name);

    ProgramRunner &m_runner;
    QHash<QString, std::shared_ptr<ApplicationScript>> m_builtIns;
};

} // namespace glimra
