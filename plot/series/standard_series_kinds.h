#pragma once

namespace plot {

/// Registers the standard series kinds in the series-type registry, on the
/// gallery page "Standard": line, point, bar, area, fast line, horizontal
/// bar and pie. Their descriptions name the kinds ("Fast Line",
/// "Horizontal Bar", ...). Calling it again changes nothing.
void RegisterStandardSeriesKinds();

}  // namespace plot
