#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace runtime {

// The recorder keeps its description as 8-bit text in the Windows-1252
// character set; the window shows Unicode (UTF-8 here).

// Each byte becomes its Windows-1252 character. The five codes the set leaves
// undefined (81, 8D, 8F, 90, 9D) map to the C1 control with the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

// Text that Windows-1252 cannot hold (or malformed UTF-8) gives nullopt, with
// the offending character in `badCharacter` when given.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, std::string* badCharacter = nullptr);

// Whether the byte is a character worth showing: not a control code (below 32
// or 127) and not one of the five undefined codes.
bool IsPrintableWindows1252(unsigned char byte);

}  // namespace runtime
