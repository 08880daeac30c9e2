// What the error box says for an error: its message with a full stop.
// Portable, so the tests of the commands can check the very text.
#pragma once

#include <exception>
#include <string>

namespace snipkit {

inline std::string ErrorBoxText(const std::exception& e) { return std::string(e.what()) + "."; }

}  // namespace snipkit
