#pragma once

namespace plot {

// Process-wide printing switches, shared by every chart.

/// Clip a chart to its target rectangle when printing (on at start-up).
bool ClipPrinted();
void SetClipPrinted(bool value);
/// Clip a chart to its target rectangle when drawing into a metafile (on).
bool ClipMetafiles();
void SetClipMetafiles(bool value);
/// Fill the panel background and draw its bevels while printing (off).
bool PrintPanelBackground();
void SetPrintPanelBackground(bool value);

}  // namespace plot
