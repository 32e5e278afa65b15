#include "tests/support/support_recording_canvas.h"

#include <cstdio>
#include <fstream>

namespace testsupport {

namespace {

int CodePoints(const std::string& text) {
  int count = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

std::string RecordedCall::ToString() const {
  std::string out = op + "(";
  const bool pointList = op == "Polyline" || op == "Polygon" || op == "SetClipPolygon";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out += pointList && i % 2 == 0 ? " " : ",";
    if (op == "SetPixel" && i == 2) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%06X", static_cast<unsigned>(args[i]));
      out += hex;
    } else {
      out += std::to_string(args[i]);
    }
  }
  if (op == "TextOut") out += ",\"" + text + "\"";
  return out + ")";
}

int RecordingCanvas::CharWidth(const platform::Font& font) {
  const int h = font.height == 0 ? 12 : (font.height < 0 ? -font.height : font.height);
  return (h + 1) / 2;
}

int RecordingCanvas::TextHeight(const platform::Font& font) {
  const int h = font.height == 0 ? 12 : (font.height < 0 ? -font.height : font.height);
  return h + h / 5;
}

std::vector<std::string> RecordingCanvas::Log() const {
  std::vector<std::string> out;
  for (const RecordedCall& call : calls) out.push_back(call.ToString());
  return out;
}

std::vector<std::string> RecordingCanvas::Log(const std::string& op) const {
  std::vector<std::string> out;
  for (const RecordedCall& call : calls) {
    if (call.op == op) out.push_back(call.ToString());
  }
  return out;
}

std::vector<RecordedCall> RecordingCanvas::Calls(const std::string& op) const {
  std::vector<RecordedCall> out;
  for (const RecordedCall& call : calls) {
    if (call.op == op) out.push_back(call);
  }
  return out;
}

int RecordingCanvas::Count(const std::string& op) const { return static_cast<int>(Calls(op).size()); }

void RecordingCanvas::Record(const std::string& op, std::vector<int> args, const std::string& text) {
  RecordedCall call;
  call.op = op;
  call.args = std::move(args);
  call.text = text;
  call.pen = pen_;
  call.brush = brush_;
  call.font = font_;
  call.bkMode = bkMode_;
  call.bkColor = bkColor_;
  call.textAlign = textAlign_;
  calls.push_back(std::move(call));
}

void RecordingCanvas::RecordPoints(const std::string& op, std::span<const platform::Point> points) {
  std::vector<int> args;
  for (const platform::Point& p : points) {
    args.push_back(p.x);
    args.push_back(p.y);
  }
  Record(op, std::move(args));
}

void RecordingCanvas::SetMapping(const platform::Mapping& m) {
  mapping_ = m;
  Record("SetMapping", {m.anisotropic ? 1 : 0, m.windowOrg.x, m.windowOrg.y, m.windowExt.cx, m.windowExt.cy,
                        m.viewportOrg.x, m.viewportOrg.y, m.viewportExt.cx, m.viewportExt.cy});
}

void RecordingCanvas::SetClipRect(const platform::Rect& r) { Record("SetClipRect", {r.left, r.top, r.right, r.bottom}); }

void RecordingCanvas::SetClipPolygon(std::span<const platform::Point> points) { RecordPoints("SetClipPolygon", points); }

void RecordingCanvas::RemoveClip() { Record("RemoveClip", {}); }

void RecordingCanvas::SetPixel(int x, int y, platform::Color color) {
  Record("SetPixel", {x, y, static_cast<int>(color)});
}

void RecordingCanvas::MoveTo(int x, int y) { Record("MoveTo", {x, y}); }

void RecordingCanvas::LineTo(int x, int y) { Record("LineTo", {x, y}); }

void RecordingCanvas::Polyline(std::span<const platform::Point> points) { RecordPoints("Polyline", points); }

void RecordingCanvas::Polygon(std::span<const platform::Point> points) { RecordPoints("Polygon", points); }

void RecordingCanvas::Rectangle(const platform::Rect& r) { Record("Rectangle", {r.left, r.top, r.right, r.bottom}); }

void RecordingCanvas::RoundRect(const platform::Rect& r, int cw, int ch) {
  Record("RoundRect", {r.left, r.top, r.right, r.bottom, cw, ch});
}

void RecordingCanvas::Ellipse(const platform::Rect& r) { Record("Ellipse", {r.left, r.top, r.right, r.bottom}); }

void RecordingCanvas::Arc(const platform::Rect& r, platform::Point s, platform::Point e) {
  Record("Arc", {r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y});
}

void RecordingCanvas::Pie(const platform::Rect& r, platform::Point s, platform::Point e) {
  Record("Pie", {r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y});
}

void RecordingCanvas::PatternFill(const platform::Rect& r) { Record("PatternFill", {r.left, r.top, r.right, r.bottom}); }

void RecordingCanvas::TextOut(int x, int y, const std::string& text) { Record("TextOut", {x, y}, text); }

bool RecordingCanvas::TextExtent(const std::string& text, platform::Size& extent) {
  extent = {};
  if (failMeasurements) return false;
  extent.cx = CodePoints(text) * CharWidth(font_);
  extent.cy = TextHeight(font_);
  return true;
}

void RecordingCanvas::DrawBitmap(int x, int y, const platform::Bitmap& bitmap) {
  Record("DrawBitmap", {x, y, bitmap.Width(), bitmap.Height()});
}

void RecordingCanvas::StretchBitmap(const platform::Rect& r, const platform::Bitmap& bitmap) {
  Record("StretchBitmap", {r.left, r.top, r.right, r.bottom, bitmap.Width(), bitmap.Height()});
}

void RecordingCanvas::StretchMetafile(const platform::Rect& r, platform::Metafile& metafile) {
  Record("StretchMetafile", {r.left, r.top, r.right, r.bottom, metafile.Width(), metafile.Height()});
}

std::unique_ptr<platform::Bitmap> RecordingCanvas::CreateBitmap(int width, int height, bool monochrome) {
  Record("CreateBitmap", {width, height, monochrome ? 1 : 0});
  return std::make_unique<RecordingBitmap>(width, height, monochrome);
}

std::unique_ptr<platform::Metafile> RecordingCanvas::CreateMetafile(int width, int height) {
  Record("CreateMetafile", {width, height});
  return std::make_unique<RecordingMetafile>(width, height);
}

bool RecordingBitmap::SaveToFile(const std::string& path) const {
  std::ofstream out(path);
  out << "bitmap " << width_ << "x" << height_ << "\n";
  return static_cast<bool>(out);
}

bool RecordingMetafile::SaveToFile(const std::string& path) {
  std::ofstream out(path);
  out << Data() << "\n";
  return static_cast<bool>(out);
}

}  // namespace testsupport
