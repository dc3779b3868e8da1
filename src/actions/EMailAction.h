#pragma once

#include "matching/ActionObject.h"

namespace glimra {

/// Holds its place in the action list and never offers anything.
class EMailAction : public ActionObject
{
public:
    EMailAction();
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it offers nothing yet"); }
};

} // namespace glimra
