#include "fuzz/fuzz_support.h"

#include <cerrno>
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
  if (it == files.end()) return platform::IoErrorFromErrno(ENOENT);
  bytes = it->second.substr(0, maxBytes);
  return {};
}

platform::FileFacts MemoryFiles::Examine(const std::string& path) {
  platform::FileFacts facts;
  if (files.count(path)) facts.kind = platform::FileKind::Regular;
  if (folders.count(path)) facts.kind = platform::FileKind::Folder;
  facts.hasWriteBits = facts.mayWrite = facts.kind != platform::FileKind::Missing;
  return facts;
}

platform::IoError MemoryFiles::WriteFiles(const std::vector<platform::FileContent>& toWrite,
                                          std::vector<bool>& written, std::size_t& failed) {
  written.assign(toWrite.size(), false);
  failed = 0;
  for (std::size_t i = 0; i < toWrite.size(); ++i) {
    if (folders.count(toWrite[i].path)) {
      failed = i;
      return platform::IoErrorFromErrno(EISDIR);
    }
  }
  for (std::size_t i = 0; i < toWrite.size(); ++i) {
    files[toWrite[i].path] = toWrite[i].bytes;
    written[i] = true;
  }
  return {};
}

platform::IoError MemoryFiles::WriteNewFiles(const std::vector<platform::FileContent>& toWrite) {
  for (const platform::FileContent& f : toWrite) {
    if (Exists(f.path)) return platform::IoErrorFromErrno(EEXIST);
  }
  for (const platform::FileContent& f : toWrite) files[f.path] = f.bytes;
  return {};
}

platform::IoError MemoryFiles::MakeFolders(const std::string& path) {
  if (files.count(path)) return platform::IoErrorFromErrno(EEXIST);
  folders.insert(path);
  return {};
}

platform::IoError MemoryFiles::ListFolder(const std::string& path, std::vector<std::string>& names) {
  if (!folders.count(path)) return platform::IoErrorFromErrno(ENOENT);
  names.clear();
  const std::string prefix = path + "/";
  for (const auto& [name, bytes] : files) {
    if (name.rfind(prefix, 0) == 0 && name.find('/', prefix.size()) == std::string::npos) {
      names.push_back(name.substr(prefix.size()));
    }
  }
  return {};
}

void BudgetCanvas::StartPaint() {
  spent_ = 0;
  calls.clear();
}

void BudgetCanvas::Spend() {
  if (++spent_ > budget_) {
    // What the loop was drawing tells where it is.
    const std::size_t from = calls.size() > 8 ? calls.size() - 8 : 0;
    for (std::size_t i = from; i < calls.size(); ++i) std::fprintf(stderr, "  drawn last: %s\n", calls[i].ToString().c_str());
    Finding("one paint drew more than " + std::to_string(budget_) + " primitives");
  }
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
