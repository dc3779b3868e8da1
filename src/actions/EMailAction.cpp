#include "actions/EMailAction.h"

namespace glimra {

EMailAction::EMailAction() : ActionObject(QStringLiteral("EMailAction")) {}

} // namespace glimra
