#pragma once

namespace glimra {

/// Returns after `seconds`, running the event loop meanwhile so that other events (another
/// request, a search that finished, a clipboard owner's answer) are handled.
void sleep_main_loop(double seconds);

} // namespace glimra
