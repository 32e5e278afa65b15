#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device_canvas.h"

namespace testsupport {

// One call on a RecordingCanvas with its arguments and the drawing state at
// that moment.
struct RecordedCall {
  std::string op;
  std::vector<int> args;
  std::string text;
  platform::Pen pen;
  platform::Brush brush;
  platform::Font font;
  platform::BackgroundMode bkMode = platform::BackgroundMode::Opaque;
  platform::Color bkColor = 0;
  unsigned textAlign = 0;

  // "Op(a,b,c,d)"; point lists as "Op(x,y x,y ...)"; text as Op(x,y,"text").
  std::string ToString() const;
};

// A device canvas for tests: it draws nothing, logs every call, and measures
// text with fixed metrics so layouts can be asserted to the pixel. With
// h = |font height| (12 when the height is 0) a character is (h + 1) / 2
// wide and a text box is h + h / 5 high: 6 x 13 for the default 8-point font
// at 96 pixels per inch, 7 x 15 at 10 points. An empty text is 0 wide.
class RecordingCanvas : public platform::DeviceCanvas {
 public:
  static int CharWidth(const platform::Font& font);
  static int TextHeight(const platform::Font& font);

  std::vector<RecordedCall> calls;
  // Measurements fail (the device "cannot measure") while this is set.
  bool failMeasurements = false;
  bool alternatePens = true;
  platform::Size ppi{96, 96};

  // Every call as a string, in order; those of one kind; how many of one kind.
  std::vector<std::string> Log() const;
  std::vector<std::string> Log(const std::string& op) const;
  std::vector<RecordedCall> Calls(const std::string& op) const;
  int Count(const std::string& op) const;
  void Clear() { calls.clear(); }

  bool SupportsAlternatePen() const override { return alternatePens; }
  platform::Size PixelsPerInch() const override { return ppi; }
  void SetMapping(const platform::Mapping& mapping) override;
  platform::Mapping GetMapping() const override { return mapping_; }
  void SetClipRect(const platform::Rect& rect) override;
  void SetClipPolygon(std::span<const platform::Point> points) override;
  void RemoveClip() override;
  void SetPixel(int x, int y, platform::Color color) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const platform::Point> points) override;
  void Polygon(std::span<const platform::Point> points) override;
  void Rectangle(const platform::Rect& rect) override;
  void RoundRect(const platform::Rect& rect, int cornerWidth, int cornerHeight) override;
  void Ellipse(const platform::Rect& rect) override;
  void Arc(const platform::Rect& rect, platform::Point start, platform::Point end) override;
  void Pie(const platform::Rect& rect, platform::Point start, platform::Point end) override;
  void PatternFill(const platform::Rect& rect) override;
  void TextOut(int x, int y, const std::string& text) override;
  bool TextExtent(const std::string& text, platform::Size& extent) override;
  void DrawBitmap(int x, int y, const platform::Bitmap& bitmap) override;
  void StretchBitmap(const platform::Rect& rect, const platform::Bitmap& bitmap) override;
  void StretchMetafile(const platform::Rect& rect, platform::Metafile& metafile) override;
  std::unique_ptr<platform::Bitmap> CreateBitmap(int width, int height, bool monochrome) override;
  std::unique_ptr<platform::Metafile> CreateMetafile(int width, int height) override;

 private:
  void Record(const std::string& op, std::vector<int> args, const std::string& text = {});
  void RecordPoints(const std::string& op, std::span<const platform::Point> points);
  platform::Mapping mapping_;
};

// A bitmap of a RecordingCanvas: a size and a canvas of its own that records
// what is drawn into it.
class RecordingBitmap final : public platform::Bitmap {
 public:
  RecordingBitmap(int width, int height, bool monochrome) : width_(width), height_(height), monochrome_(monochrome) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  platform::DeviceCanvas& Canvas() override { return canvas_; }
  bool SaveToFile(const std::string& path) const override;
  bool Monochrome() const { return monochrome_; }
  RecordingCanvas& Recorder() { return canvas_; }

 private:
  int width_, height_;
  bool monochrome_;
  RecordingCanvas canvas_;
};

class RecordingMetafile final : public platform::Metafile {
 public:
  RecordingMetafile(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  platform::DeviceCanvas& Canvas() override { return canvas_; }
  std::string Data() override { return "recording of " + std::to_string(canvas_.calls.size()) + " calls"; }
  bool SaveToFile(const std::string& path) override;
  RecordingCanvas& Recorder() { return canvas_; }

 private:
  int width_, height_;
  RecordingCanvas canvas_;
};

}  // namespace testsupport
