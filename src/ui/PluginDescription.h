#pragma once

#include <QCoreApplication>
#include <QString>

namespace glimra {

class ActionObject;
class MatcherObject;

/// How the preferences list a matcher or an action, in the user's words: a built-in one by
/// what it does ("Words", "Web search") with one line on it, a plug-in by its file name and
/// kind, a rule by the key it sets. Class names stay in the explanations for plug-in
/// writers; the settings keep naming classes as they always did.
struct PluginDescription
{
    Q_DECLARE_TR_FUNCTIONS(PluginDescription)
public:
    QString name;
    QString kind;
    QString about;  ///< one line on what it does, or where a plug-in's file lies
    bool listed = true; ///< false for an action that never offers anything

    static PluginDescription of(const MatcherObject &matcher);
    static PluginDescription of(const ActionObject &action);

private:
    static PluginDescription ofBuiltIn(const QString &className);
    static PluginDescription ofPlugin(const QString &scriptFile);
};

} // namespace glimra
