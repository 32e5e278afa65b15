#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Bytes from outside (a line of a data file, a file name) as they may appear
// inside a message: valid UTF-8 stays as it is; control characters (C0, DEL,
// C1) and bytes that are not valid UTF-8 are spelled out ("\r", "\n", "\t",
// "\x1B", "\xFF"), and a backslash doubles, so the text can neither steer a
// terminal nor hide a character, and reads back unambiguously.
std::string EscapeForMessage(std::string_view bytes);

}  // namespace runtime
