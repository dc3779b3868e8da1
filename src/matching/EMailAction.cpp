#include "matching/EMailAction.h"

namespace glimra {

EMailAction::EMailAction() : ActionObject(QStringLiteral("EMailAction")) {}

} // namespace glimra
