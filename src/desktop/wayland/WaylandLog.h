#pragma once

#include <QLoggingCategory>

// The Wayland client's own logging category ("glimra.wayland"). Nothing logged here ever
// holds selection contents: only protocols, MIME types and sizes.
Q_DECLARE_LOGGING_CATEGORY(lcWayland)
