#include "capture/WindowFacts.h"

#include "matching/Context.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace glimra {

WindowFacts WindowFacts::ofApplication(const QList<RunningApplication> &applications,
                                       const QString &identifier)
{
    const RunningApplication *front = nullptr;
    for (const RunningApplication &application : applications) {
        if (identifier.isNull() || application.windowClass != identifier
            || application.windowId == 0)
            continue;
        if (!front || (application.active && !front->active))
            front = &application;
    }
    if (!front)
        return {};
    return {front->windowId, front->windowClass, front->pid,
            front->windowTitle};
}

WindowFacts WindowFacts::ofApplication(const RunningApplications *applications,
                                       const QString &identifier)
{
    return applications && !identifier.isNull()
        ? ofApplication(applications->runningApplications(), identifier)
        : WindowFacts();
}

WindowFacts WindowFacts::fromArguments(const QJsonArray &args)
{
    const QJsonObject argument = args.at(0).toObject();
    WindowFacts facts;
    facts.id = argument.value(WINDOW_ID).toString().toULongLong(nullptr, 0);
    if (facts.id == 0)
        return {};
    facts.windowClass = argument.value(WINDOW_CLASS).toString(QString());
    facts.pid = argument.value(WINDOW_PID).toString().toLongLong();
    facts.title = argument.value(WINDOW_TITLE).toString(QString());
    return facts;
}

QJsonArray WindowFacts::arguments(const QString &identifier) const
{
    Context argument;
    set(argument, CTX_APPID, identifier);
    if (id != 0) {
        argument.insert(WINDOW_ID, u"0x"_s + QString::number(id, 16));
        set(argument, WINDOW_CLASS, windowClass.isEmpty() ? QString() : windowClass);
        set(argument, WINDOW_PID, pid > 0 ? QString::number(pid) : QString());
        set(argument, WINDOW_TITLE, title);
    }
    return {toJsonObject(argument)};
}

} // namespace glimra
