#include "foundation/GlobalContext.h"

namespace glimra {

GlobalContext &GlobalContext::sharedInstance()
{
    static GlobalContext instance;
    return instance;
}

} // namespace glimra
