#include "platform/FileManager.h"

#include "foundation/Url.h"

namespace glimra {

FileManager::~FileManager() = default;

void FileManager::openFile(const QString &path, const Completion &done)
{
    open(Url::fileURLWithPath(path), done);
}

} // namespace glimra
