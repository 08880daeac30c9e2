// The ids every dialog's OK and Cancel buttons share: the system's own, so
// Enter and Esc work. No <windows.h> here; the test driver uses them too.
#pragma once

namespace snipkit::ids {

constexpr int butOK = 1;
constexpr int butCancel = 2;

}  // namespace snipkit::ids
