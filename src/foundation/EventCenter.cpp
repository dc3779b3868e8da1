#include "foundation/EventCenter.h"

#include <QCoreApplication>
#include <QTimer>

#include <vector>

namespace glimra {

namespace {

struct Binding
{
    const void *owner;
    QString name;
    const void *target;
    EventCallback callback;
};

std::vector<Binding> &bindings()
{
    static std::vector<Binding> all;
    return all;
}

} // namespace

void bind_event(const void *owner, const QString &name, const void *target,
                EventCallback callback)
{
    bindings().push_back({owner, name, target, std::move(callback)});
}

void send_event(const void *owner, const QString &name)
{
    // Copy first: a callback may bind or unbind.
    std::vector<EventCallback> due;
    for (const Binding &binding : bindings()) {
        if (binding.owner == owner && binding.name == name)
            due.push_back(binding.callback);
    }
    for (const EventCallback &callback : due)
        callback();
}

void post_event(const void *owner, const QString &name)
{
    if (!QCoreApplication::instance()) {
        send_event(owner, name);
        return;
    }
    QTimer::singleShot(0, QCoreApplication::instance(), [owner, name] { send_event(owner, name); });
}

void unbind_event(const void *owner, const void *target)
{
    std::erase_if(bindings(), [&](const Binding &binding) {
        return binding.owner == owner && binding.target == target;
    });
}

} // namespace glimra
