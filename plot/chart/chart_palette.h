#pragma once

#include "plot/surface/chart_colors.h"

namespace plot {

/// Number of entries of the default palette.
inline constexpr int kMaxDefaultColors = 16;

/// The process-wide palette of automatic series and point colours; index
/// taken modulo 16. Program code may change entries.
Color GetDefaultColor(int index);
void SetDefaultColor(int index, Color color);
/// Restores the sixteen built-in colours (red, green, yellow, blue, ...).
void ResetDefaultColors();

}  // namespace plot
