#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/geometry.h"

namespace platform {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };

// How a pen's pixels combine with what is there. NotXor drawn twice restores
// every pixel; it exists only on raster targets (files and printers draw it
// as Copy).
enum class PenMode { Copy, NotXor, Xor };

struct Pen {
  Color color = 0x000000;
  PenStyle style = PenStyle::Solid;
  // Logical units; 0 is one device pixel whatever the mapping. Styles other
  // than solid and clear draw solid when wider than 1.
  int width = 1;
  PenMode mode = PenMode::Copy;
  // A one-pixel cosmetic pen that sets every other pixel, for fine dotted
  // grids. Overrides style and width.
  bool alternate = false;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

class Bitmap;

struct Brush {
  Color color = 0xFFFFFF;
  BrushStyle style = BrushStyle::Solid;
  // When set, fills repeat this picture instead of colour and style.
  std::shared_ptr<const Bitmap> bitmap;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct Font {
  // "Arial" is drawn with a metric-compatible face where Arial is missing.
  std::string name = "Arial";
  // Logical units. Negative: the character (em) height; positive: the cell
  // height. Size() converts through pixelsPerInch.
  int height = -11;
  int pixelsPerInch = 96;
  unsigned style = 0;
  Color color = 0x000000;
  // Tenths of a degree, counter-clockwise: the text's baseline angle.
  int escapement = 0;
  int orientation = 0;

  int Size() const { return -MulDiv(height, 72, pixelsPerInch); }
  void SetSize(int points) { height = -MulDiv(points, pixelsPerInch, 72); }
  friend bool operator==(const Font&, const Font&) = default;
};

// Text alignment flags: one horizontal and one vertical value or-ed together.
// The reference point passed to TextOut is that point of the text's box.
namespace text_align {
inline constexpr unsigned kLeft = 0;
inline constexpr unsigned kRight = 2;
inline constexpr unsigned kCenter = 6;
inline constexpr unsigned kTop = 0;
inline constexpr unsigned kBottom = 8;
inline constexpr unsigned kBaseline = 24;
inline constexpr unsigned kHorizontalMask = 6;
inline constexpr unsigned kVerticalMask = 24;
}  // namespace text_align

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// Rows top .. bottom - 1 of the one-pixel-wide column x.
struct ColumnSpan {
  int x = 0;
  int top = 0;
  int bottom = 0;
  friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

// Logical-to-device mapping. Anisotropic: logical (x, y) lands on
// viewportOrg + (x - windowOrg) * viewportExt / windowExt per axis, so a
// chart laid out on its screen size fills a printer page.
struct Mapping {
  bool anisotropic = false;
  Point windowOrg;
  Size windowExt{1, 1};
  Point viewportOrg;
  Size viewportExt{1, 1};
  friend bool operator==(const Mapping&, const Mapping&) = default;
};

class DeviceCanvas;

// An off-screen picture with its own canvas: the chart's back buffer, a
// background image, a copy of the chart for a file or the clipboard.
class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual DeviceCanvas& Canvas() = 0;
  // Saves as PNG; false when the file cannot be written.
  virtual bool SaveToFile(const std::string& path) const = 0;
};

// A vector recording that replays at any scale (a copy of the chart, the
// print preview's page picture). Its frame is inclusive, as the chart's
// copies give it: the recording covers Width() + 1 by Height() + 1 logical
// pixels. The canvas is valid until the recording is ended by the first
// replay, Data or SaveToFile.
class Metafile {
 public:
  virtual ~Metafile() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual DeviceCanvas& Canvas() = 0;
  // The recording as an SVG document, for files and the clipboard.
  virtual std::string Data() = 0;
  virtual bool SaveToFile(const std::string& path) = 0;
};

// What the chart's drawing surface needs of a platform canvas. The drawing
// objects are plain state read by every primitive, so callers change a pen
// colour and draw, as on the window system the chart was designed for.
//
// Pixel rules (logical units): a line covers its start point but not its end
// point; Rectangle and Ellipse cover columns left .. right - 1 and rows
// top .. bottom - 1 (one less each way when the pen is clear); PatternFill
// covers left .. right - 1 and top .. bottom - 1.
class DeviceCanvas {
 public:
  virtual ~DeviceCanvas() = default;

  platform::Pen& Pen() { return pen_; }
  const platform::Pen& Pen() const { return pen_; }
  platform::Brush& Brush() { return brush_; }
  const platform::Brush& Brush() const { return brush_; }
  platform::Font& Font() { return font_; }
  const platform::Font& Font() const { return font_; }

  unsigned TextAlign() const { return textAlign_; }
  void SetTextAlign(unsigned flags) { textAlign_ = flags; }
  BackgroundMode BkMode() const { return bkMode_; }
  void SetBkMode(BackgroundMode mode) { bkMode_ = mode; }
  // Fills the gaps of hatched brushes and the box of text in opaque mode.
  Color BkColor() const { return bkColor_; }
  void SetBkColor(Color color) { bkColor_ = color; }

  // Whether a one-pixel alternate-dot pen can be drawn.
  virtual bool SupportsAlternatePen() const = 0;
  // Resolution of the device, for converting point sizes to pixels.
  virtual Size PixelsPerInch() const = 0;

  virtual void SetMapping(const Mapping& mapping) = 0;
  virtual Mapping GetMapping() const = 0;

  // Clip regions are given in logical units; the device converts them.
  virtual void SetClipRect(const Rect& rect) = 0;
  virtual void SetClipPolygon(std::span<const Point> points) = 0;
  virtual void RemoveClip() = 0;

  virtual void SetPixel(int x, int y, Color color) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(std::span<const Point> points) = 0;
  virtual void Polygon(std::span<const Point> points) = 0;
  virtual void Rectangle(const Rect& rect) = 0;
  virtual void RoundRect(const Rect& rect, int cornerWidth, int cornerHeight) = 0;
  virtual void Ellipse(const Rect& rect) = 0;
  // Counter-clockwise from the ray through `start` to the ray through `end`,
  // on the ellipse inscribed in `rect`. Pie also closes to the centre and
  // fills with the brush.
  virtual void Arc(const Rect& rect, Point start, Point end) = 0;
  virtual void Pie(const Rect& rect, Point start, Point end) = 0;
  // Fills with the brush, no outline.
  virtual void PatternFill(const Rect& rect) = 0;
  // The same as a PatternFill of each column, in order: the columns of a
  // dense line, which a device may fill in one pass.
  virtual void FillColumns(std::span<const ColumnSpan> columns) {
    for (const ColumnSpan& c : columns) PatternFill({c.x, c.top, c.x + 1, c.bottom});
  }

  // Text at (x, y) as the alignment flags place it, turned by the font's
  // escapement about that point.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  // Unrotated size of the text's box with the current font; false when the
  // device cannot measure.
  virtual bool TextExtent(const std::string& text, Size& extent) = 0;

  // Block copies of a bitmap made by this kind of canvas.
  virtual void DrawBitmap(int x, int y, const Bitmap& bitmap) = 0;
  // Scaled to fill `rect`, smoothly: every source pixel counts.
  virtual void StretchBitmap(const Rect& rect, const Bitmap& bitmap) = 0;
  // Replays a metafile made by this kind of canvas scaled to fill `rect`.
  virtual void StretchMetafile(const Rect& rect, Metafile& metafile) = 0;

  // Off-screen pictures compatible with this canvas. Monochrome bitmaps keep
  // only black and white.
  virtual std::unique_ptr<Bitmap> CreateBitmap(int width, int height, bool monochrome) = 0;
  virtual std::unique_ptr<Metafile> CreateMetafile(int width, int height) = 0;

 protected:
  platform::Pen pen_;
  platform::Brush brush_;
  platform::Font font_;
  unsigned textAlign_ = text_align::kLeft | text_align::kTop;
  BackgroundMode bkMode_ = BackgroundMode::Opaque;
  Color bkColor_ = 0xFFFFFF;
};

}  // namespace platform
