#include "app/GuessResult.h"

#include "foundation/Collections.h"

namespace glimra {

Context GuessResult::executionContext() const
{
    Context context = matchedContext;
    mergeObjectsFromDictionary(context, selectionContext);
    return context;
}

QStringList GuessResult::filePaths() const
{
    QStringList paths;
    for (const FileObject &file : files) {
        if (!file.filePath().isNull())
            paths.append(file.filePath());
    }
    return paths;
}

} // namespace glimra
