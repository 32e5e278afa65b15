#pragma once

#include <array>

#include "platform/geometry.h"

namespace platform {

// Colours with the top bit set name an element of the window system's colour
// scheme by its index in the low byte. They are drawn with the classic scheme
// (button face silver, highlight white, shadow grey), so pictures do not
// depend on the desktop theme of the machine that draws them.
inline constexpr std::array<Color, 25> kClassicSystemColors = {
    0xC0C0C0,  // 0 scroll bar
    0x808000,  // 1 background
    0x800000,  // 2 active caption
    0x808080,  // 3 inactive caption
    0xC0C0C0,  // 4 menu
    0xFFFFFF,  // 5 window
    0x000000,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0xFFFFFF,  // 9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x800000,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3D dark shadow
    0xC0C0C0,  // 22 3D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background
};

// The RGB value a colour is drawn with; other values keep their low 24 bits.
inline constexpr Color ResolveColor(Color color) {
  if ((color & 0x80000000u) != 0) {
    const Color index = color & 0xFF;
    return index < kClassicSystemColors.size() ? kClassicSystemColors[index] : 0x000000;
  }
  return color & 0xFFFFFF;
}

}  // namespace platform
