#pragma once

namespace localyx {

/// The window is drawn for "MS Sans Serif", which Linux systems seldom have:
/// names the metric-close sans serifs to use in its place. Call once, after
/// the application object exists and before any window is built.
void installFontFallbacks();

}  // namespace localyx
