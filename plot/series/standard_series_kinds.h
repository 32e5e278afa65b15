#pragma once

namespace plot {

/// Registers the standard series kinds (line, point, bar, area, fast line,
/// horizontal bar, pie). Calling it again changes nothing.
void RegisterStandardSeriesKinds();

}  // namespace plot
