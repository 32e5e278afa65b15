#include "plot/chart/chart_palette.h"

#include <array>

namespace plot {

namespace {

constexpr std::array<Color, kMaxDefaultColors> kBuiltIn = {
    clRed,  clGreen, clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,
    clNavy, clMaroon, clLime,  clOlive, clPurple, clSilver, clAqua,    clBlack};

std::array<Color, kMaxDefaultColors>& Palette() {
  static std::array<Color, kMaxDefaultColors> palette = kBuiltIn;
  return palette;
}

int Slot(int index) {
  const int m = index % kMaxDefaultColors;
  return m < 0 ? m + kMaxDefaultColors : m;
}

}  // namespace

Color GetDefaultColor(int index) { return Palette()[static_cast<std::size_t>(Slot(index))]; }

void SetDefaultColor(int index, Color color) { Palette()[static_cast<std::size_t>(Slot(index))] = color; }

void ResetDefaultColors() { Palette() = kBuiltIn; }

}  // namespace plot
