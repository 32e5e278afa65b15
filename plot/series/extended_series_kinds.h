#pragma once

namespace plot {

/// Registers the Gantt, arrow, bubble and shape series (gallery page
/// "Extended") and the seven calculated series on a line series (gallery
/// page "Functions": Add, Subtract, Multiply, Divide, High, Low, Average).
/// Calling it again changes nothing.
void RegisterExtendedSeriesKinds();

}  // namespace plot
