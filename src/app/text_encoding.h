// Byte-level encoding helpers shared by the clipboard and file code.
#pragma once

#include <string_view>

namespace snipkit {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

}  // namespace snipkit
