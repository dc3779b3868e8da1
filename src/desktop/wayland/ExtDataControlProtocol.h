#pragma once

#include "DataControlProtocol.h"

#include "ext-data-control-v1-client-protocol.h"

namespace glimra {

/// ext_data_control_manager_v1: the wlroots protocol under the name it took when it became
/// common to compositors (newer wlroots, KWin from Plasma 6.5, which dropped the old one).
/// PRIMARY is there from its first version.
GLIMRA_DATA_CONTROL_PROTOCOL(ExtDataControlProtocol, ext_data_control, 1, 1);

} // namespace glimra
