#pragma once

#include "foundation/HandlerScript.h"

#include <QString>

#include <memory>

namespace glimra {

/// Finds the application scripts by name: "NAME.scpt" in "${APP_SUPPORT}/Glimra/AppScripts"
/// (the user's), then in "${APP_RESOURCES}/AppScripts" (shipped).
class PluginController
{
public:
    virtual ~PluginController() = default;
    /// The loaded script registered under `name`, or null.
    virtual std::shared_ptr<HandlerScript> pluginForName(const QString &name) const;
    static QString userScriptsDir();
    static QString shippedScriptsDir();
};

} // namespace glimra
