#pragma once

#include "foundation/Url.h"
#include "matching/MatcherObject.h"
#include "matching/PluginLists.h"
#include "platform/Notifier.h"
#include "platform/FileManager.h"

#include <QStringList>

#include <functional>

namespace glimra::test {

/// A file manager that writes down what it was asked to do.
class RecordingFileManager : public FileManager
{
public:
    void open(const Url &url, const Completion &done) override
    {
        calls.append(QStringLiteral("open ") + url.absoluteString());
        complete(done, failure.isNull() ? Outcome() : Outcome::failure(failure));
    }
    void reveal(const QString &path, const Completion &done) override
    {
        calls.append(QStringLiteral("reveal ") + path);
        complete(done);
    }
    void showSearchResults(const QString &query, const Completion &done) override
    {
        calls.append(QStringLiteral("search ") + query);
        complete(done);
    }
    QStringList calls;
    /// Why opening fails; null: it succeeds.
    QString failure;
};

/// A notifier that writes down "NAME|title|description" for each notification.
class RecordingNotifier : public Notifier
{
public:
    void notify(const QString &title, const QString &description, const QString &name) override
    {
        notifications.append(name + u'|' + title + u'|' + description);
    }
    QStringList notifications;
};

/// A matcher whose behaviour is a function.
class FunctionMatcher : public MatcherObject
{
public:
    FunctionMatcher(QString name, std::function<bool(Context &)> body)
        : MatcherObject(std::move(name)), m_body(std::move(body))
    {
    }
    bool matches(Context &context) override { return m_body(context); }

private:
    std::function<bool(Context &)> m_body;
};

/// Fixed matcher and action lists for the engine.
class FixedPlugins : public PluginLists
{
public:
    MatcherList allMatchers(const Settings &) override { return matchers; }
    ActionList actionList() const override { return actions; }
    MatcherList matchers;
    ActionList actions;
};

} // namespace glimra::test
