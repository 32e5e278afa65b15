#pragma once

#include "platform/geometry.h"

namespace plot {

using platform::Color;
using platform::Point;
using platform::Rect;

// Named colours of the chart (red in the low byte).
inline constexpr Color clBlack = 0x000000;
inline constexpr Color clMaroon = 0x000080;
inline constexpr Color clGreen = 0x008000;
inline constexpr Color clOlive = 0x008080;
inline constexpr Color clNavy = 0x800000;
inline constexpr Color clPurple = 0x800080;
inline constexpr Color clTeal = 0x808000;
inline constexpr Color clGray = 0x808080;
inline constexpr Color clSilver = 0xC0C0C0;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clLime = 0x00FF00;
inline constexpr Color clYellow = 0x00FFFF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clFuchsia = 0xFF00FF;
inline constexpr Color clAqua = 0xFFFF00;
inline constexpr Color clWhite = 0xFFFFFF;

// Take the owning series' or point's colour.
inline constexpr Color clAutoColor = 0x80000000;
// A point's colour that marks a null point (a gap).
inline constexpr Color clNone = 0x1FFFFFFF;

// System colours: the top bit set, the element's index in the low byte.
inline constexpr Color clSystemColor = 0x80000000;
inline constexpr Color clBtnFace = clSystemColor | 15;
inline constexpr Color clBtnShadow = clSystemColor | 16;
inline constexpr Color clBtnHighlight = clSystemColor | 20;
inline constexpr Color clWindow = clSystemColor | 5;
inline constexpr Color clWindowText = clSystemColor | 8;

// The RGB value a colour is drawn with: system colours take the classic
// desktop scheme (button face silver, highlight white, shadow grey); other
// values keep their low 24 bits.
Color ColorToRGB(Color color);

// Each of red, green and blue less `amount`, or 0 when it is not greater.
Color Darken(Color color, int amount);

}  // namespace plot
