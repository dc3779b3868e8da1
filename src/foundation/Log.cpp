#include "foundation/Log.h"

Q_LOGGING_CATEGORY(lcFoundation, "glimra.foundation")
Q_LOGGING_CATEGORY(lcPlatform, "glimra.platform")
Q_LOGGING_CATEGORY(lcMatching, "glimra.matching")
Q_LOGGING_CATEGORY(lcMatchers, "glimra.matchers")
Q_LOGGING_CATEGORY(lcActions, "glimra.actions")
Q_LOGGING_CATEGORY(lcPlugins, "glimra.plugins")
Q_LOGGING_CATEGORY(lcCapture, "glimra.capture")
Q_LOGGING_CATEGORY(lcApp, "glimra.app")
