// A file of the matching layer that reaches up into the application layer: the layering
// check must refuse it.
#include "foundation/Strings.h"
#include "matching/Context.h"
#include "app/AppDelegate.h"

#include <QString>
