#include "WaylandLog.h"

Q_LOGGING_CATEGORY(lcWayland, "glimra.wayland")
