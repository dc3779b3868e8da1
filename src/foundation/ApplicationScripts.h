#pragma once

#include "foundation/ApplicationScript.h"

#include <QHash>
#include <QString>

#include <memory>

namespace glimra {

/// Finds the application scripts by name: "NAME.scpt" in "${APP_SUPPORT}/Glimra/AppScripts"
/// (the user's), then the built-in script registered as NAME, then "NAME.scpt" in
/// "${APP_RESOURCES}/AppScripts" (shipped). A built-in script stands in for the shipped file
/// of its name, and a user's file replaces either. Main thread only.
class ApplicationScripts
{
public:
    virtual ~ApplicationScripts() = default;
    /// The script registered under `name`, or null.
    virtual std::shared_ptr<ApplicationScript> find(const QString &name) const;
    /// Makes `script` (shared) the built-in script named `name`.
    void registerBuiltIn(const QString &name, std::shared_ptr<ApplicationScript> script);
    static QString userScriptsDir();
    static QString shippedScriptsDir();

private:
    QHash<QString, std::shared_ptr<ApplicationScript>> m_builtIns;
};

} // namespace glimra
