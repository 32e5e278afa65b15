#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

void Finding(const std::string& what) {
  std::fprintf(stderr, "FINDING: %s\n", what.c_str());
  std::abort();
}

void KeptMessages::ShowMessage(platform::MessageKind, const std::string&, const std::string& text) {
  if (text.empty()) Finding("a message box without text");
  // Internal errors caught by the command loop would reach the user as a
  // message box of programmer's words.
  for (const char* internal : {"store index", "std::", "basic_string", "vector", "bad_alloc", "out_of_range"}) {
    if (text.find(internal) != std::string::npos) Finding("an internal error shown to the user: " + text);
  }
  last = text;
  ++count;
}

platform::IoError MemoryFiles::ReadFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  auto it = files.find(path);
  if (it == files.end()) return {platform::IoStatus::NotFound, 2};
  bytes = it->second.substr(0, maxBytes);
  return {};
}

platform::IoError MemoryFiles::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  files[path] = std::string(bytes);
  return {};
}

void BudgetCanvas::StartPaint() {
  spent_ = 0;
  calls.clear();
}

void BudgetCanvas::Spend() {
  if (++spent_ > budget_) Finding("one paint drew more than " + std::to_string(budget_) + " primitives");
  // Only the count matters here; the log would grow without bound.
  if (calls.size() > 4096) calls.clear();
}

void BudgetCanvas::MoveTo(int x, int y) {
  Spend();
  RecordingCanvas::MoveTo(x, y);
}

void BudgetCanvas::LineTo(int x, int y) {
  Spend();
  RecordingCanvas::LineTo(x, y);
}

void BudgetCanvas::Polyline(std::span<const platform::Point> points) {
  Spend();
  RecordingCanvas::Polyline(points);
}

void BudgetCanvas::Polygon(std::span<const platform::Point> points) {
  Spend();
  RecordingCanvas::Polygon(points);
}

void BudgetCanvas::Rectangle(const platform::Rect& rect) {
  Spend();
  RecordingCanvas::Rectangle(rect);
}

void BudgetCanvas::Ellipse(const platform::Rect& rect) {
  Spend();
  RecordingCanvas::Ellipse(rect);
}

void BudgetCanvas::TextOut(int x, int y, const std::string& text) {
  Spend();
  RecordingCanvas::TextOut(x, y, text);
}

void BudgetCanvas::SetPixel(int x, int y, platform::Color color) {
  Spend();
  RecordingCanvas::SetPixel(x, y, color);
}

bool IsValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    auto c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || (extra == 1 && c < 0xC2)) return false;
    if (i + static_cast<std::size_t>(extra) >= text.size() && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

}  // namespace fuzzsupport
