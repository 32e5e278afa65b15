#include "runtime/convert_error.h"

namespace runtime {

// Out of line so the classes have one home for their vtables.
TextError::~TextError() = default;
ConvertError::~ConvertError() = default;

std::string ErrorText(const std::exception& error) {
  if (const auto* text = dynamic_cast<const TextError*>(&error)) return text->Message();
  return error.what();
}

}  // namespace runtime
