#include "runtime/convert_error.h"

namespace runtime {

// Out of line so the class has one home for its vtable.
ConvertError::~ConvertError() = default;

}  // namespace runtime
