#include "platform/Notifier.h"

using namespace Qt::StringLiterals;

namespace glimra {

const QString Notifier::Progress = u"CommandExecuted"_s;
const QString Notifier::Failure = u"CommandError"_s;

Notifier::~Notifier() = default;

} // namespace glimra
