#pragma once

#include <cstdint>

namespace platform {

// Device and logical coordinates are 32-bit pixels, x to the right and y
// downwards. A rectangle is left, top, right, bottom; like the window system
// the chart was designed for, the right and bottom edges lie just outside
// what a fill covers.
struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// 0x00BBGGRR: red in the low byte. Values with the top bit set name system
// colours; devices draw them through ResolveColor (system_colors.h).
using Color = std::uint32_t;

inline constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }
inline constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// a * b / c in 64 bits, rounded to the nearest integer with halves away from
// zero: the integer multiply-divide that font heights, margins and printer
// mappings are defined with. Division by zero gives -1, as the system call
// this mirrors does; callers avoid it.
inline constexpr int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t num = static_cast<std::int64_t>(a) * b;
  const bool negative = (num < 0) != (c < 0);
  const std::int64_t an = num < 0 ? -num : num;
  const std::int64_t ac = c < 0 ? -static_cast<std::int64_t>(c) : c;
  const std::int64_t q = (an + ac / 2) / ac;
  return static_cast<int>(negative ? -q : q);
}

}  // namespace platform
