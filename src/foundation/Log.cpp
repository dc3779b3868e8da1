#include "foundation/Log.h"

// Warnings only by default: a guess that goes as expected writes nothing. "glimra --verbose"
// or QT_LOGGING_RULES (for example "glimra.*=true") bring the details back.
Q_LOGGING_CATEGORY(lcFoundation, "glimra.foundation", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "glimra.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMatching, "glimra.matching", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMatchers, "glimra.matchers", QtWarningMsg)
Q_LOGGING_CATEGORY(lcActions, "glimra.actions", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlugins, "glimra.plugins", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCapture, "glimra.capture", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "glimra.app", QtWarningMsg)
