#include "ui/ValueTransformers.h"

#include "matching/contentType.h"

using namespace Qt::StringLiterals;

namespace glimra {

QString SelectTabTransformer::transformedValue(qint64 selectedTab)
{
    return selectedTab >= 2 ? u"files"_s : u"actions"_s;
}

QString ContextInfoTransformer::transformedValue(const Context &matchedContext)
{
    return contentType(matchedContext);
}

} // namespace glimra
