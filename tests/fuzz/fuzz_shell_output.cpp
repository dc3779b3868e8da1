// What a shell matcher plug-in prints: lines of KEY=value read back into the context.
#include "FuzzSupport.h"

#include "foundation/Strings.h"
#include "plugins/SHPluginMatcher.h"

using namespace glimra;
using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Context entries = SHPluginMatcher::resultEntries(split(fuzz::text(data, size), u"\n"_s));
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        fuzz::check(isResultKey(it.key()) && !it.value().isEmpty(), "only results with a value");
    return 0;
}
