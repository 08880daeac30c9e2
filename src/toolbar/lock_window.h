// Lock to Window: ties the bridge to the current editor control, so the
// toolbar stops following the foreground window.
#pragma once

#include <string>

#include "bridge/bridge.h"

namespace snipkit {

inline constexpr const char* kCapLockToWindow = "Lock to Window";
inline constexpr std::size_t kLockTitleMaxChars = 127;

std::string LockQuestion(const std::string& title);

// Asks the question and applies the answer. `lockChecked` is the menu item's
// check mark: Yes puts it on when it locked a control, No takes it off,
// Cancel leaves it.
void mnuLockWinClick(EditorBridge& bridge, WindowSystem& ws, MessageBoxes& boxes, bool& lockChecked);

}  // namespace snipkit
