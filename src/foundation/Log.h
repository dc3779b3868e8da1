#pragma once

#include <QLoggingCategory>

// One logging category per layer, so a user can turn each on or off with QT_LOGGING_RULES
// (for example QT_LOGGING_RULES="glimra.capture.info=true"). Only warnings are written
// unless asked for: the program's own named log lines are written at info level exactly as
// they stand, and shown with "glimra --verbose" or such a rule.
Q_DECLARE_LOGGING_CATEGORY(lcFoundation)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcMatching)
Q_DECLARE_LOGGING_CATEGORY(lcMatchers)
Q_DECLARE_LOGGING_CATEGORY(lcActions)
Q_DECLARE_LOGGING_CATEGORY(lcPlugins)
Q_DECLARE_LOGGING_CATEGORY(lcCapture)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
