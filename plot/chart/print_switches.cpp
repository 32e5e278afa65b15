#include "plot/chart/print_switches.h"

namespace plot {

namespace {

// The one place these process-wide settings live.
struct PrintSwitches {
  bool clipPrinted = true;
  bool clipMetafiles = true;
  bool printPanelBackground = false;
};

PrintSwitches& Switches() {
  static PrintSwitches switches;
  return switches;
}

}  // namespace

bool ClipPrinted() { return Switches().clipPrinted; }
void SetClipPrinted(bool value) { Switches().clipPrinted = value; }
bool ClipMetafiles() { return Switches().clipMetafiles; }
void SetClipMetafiles(bool value) { Switches().clipMetafiles = value; }
bool PrintPanelBackground() { return Switches().printPanelBackground; }
void SetPrintPanelBackground(bool value) { Switches().printPanelBackground = value; }

}  // namespace plot
