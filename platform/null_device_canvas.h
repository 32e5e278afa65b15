#pragma once

#include "platform/device_canvas.h"

namespace platform {

// A canvas that draws nothing and cannot measure: what a drawing surface
// holds while no device is bound, so stray calls are harmless.
class NullDeviceCanvas final : public DeviceCanvas {
 public:
  bool SupportsAlternatePen() const override { return false; }
  platform::Size PixelsPerInch() const override { return {96, 96}; }
  void SetMapping(const Mapping& mapping) override { mapping_ = mapping; }
  Mapping GetMapping() const override { return mapping_; }
  void SetClipRect(const Rect&) override {}
  void SetClipPolygon(std::span<const Point>) override {}
  void RemoveClip() override {}
  void SetPixel(int, int, Color) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(std::span<const Point>) override {}
  void Polygon(std::span<const Point>) override {}
  void Rectangle(const Rect&) override {}
  void RoundRect(const Rect&, int, int) override {}
  void Ellipse(const Rect&) override {}
  void Arc(const Rect&, Point, Point) override {}
  void Pie(const Rect&, Point, Point) override {}
  void PatternFill(const Rect&) override {}
  void TextOut(int, int, const std::string&) override {}
  bool TextExtent(const std::string&, platform::Size& extent) override {
    extent = {};
    return false;
  }
  void DrawBitmap(int, int, const Bitmap&) override {}
  void StretchBitmap(const Rect&, const Bitmap&) override {}
  void StretchMetafile(const Rect&, Metafile&) override {}
  std::unique_ptr<Bitmap> CreateBitmap(int, int, bool) override { return nullptr; }
  std::unique_ptr<Metafile> CreateMetafile(int, int) override { return nullptr; }

 private:
  Mapping mapping_;
};

}  // namespace platform
