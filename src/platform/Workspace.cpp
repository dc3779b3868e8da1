#include "platform/Workspace.h"

#include "foundation/Url.h"

namespace glimra {

Workspace::~Workspace() = default;

void Workspace::open_file(const QString &path, const Completion &done)
{
    openURL(Url::fileURLWithPath(path), done);
}

} // namespace glimra
