#pragma once

#include "DataControlProtocol.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace glimra {

/// zwlr_data_control_manager_v1: wlroots compositors and KWin up to Plasma 6.4. PRIMARY
/// came with its version 2.
GLIMRA_DATA_CONTROL_PROTOCOL(WlrDataControlProtocol, zwlr_data_control, 2, 2);

} // namespace glimra
