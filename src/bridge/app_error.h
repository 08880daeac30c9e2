// An error a command does not handle itself. It ends the command and the
// toolbar shows its message in the application's error box (full stop added).
#pragma once

#include <stdexcept>
#include <string>

#include "ui/error_text.h"

namespace snipkit {

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

inline AppError CannotOpenFile(const std::string& name) { return AppError("Cannot open file " + name); }
inline AppError CannotCreateFile(const std::string& name) { return AppError("Cannot create file " + name); }
inline AppError TextExceedsMemoCapacity() { return AppError("Text exceeds memo capacity"); }

inline constexpr const char* kAppTitle = "Delphi Snipkit";

}  // namespace snipkit
