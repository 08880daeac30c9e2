// Control identifiers of the About box (TfrmAbout), shared by the box and the
// end-to-end driver that checks it. No <windows.h> here.
#pragma once

#include "ui/dialog_ids.h"

namespace snipkit::ids::aboutwin {

// butOK is ids::butOK, so Enter presses it; there is no Cancel button.
constexpr int Panel1 = 801;
constexpr int ProgramIcon = 802;
constexpr int ProductName = 803;
constexpr int labVer = 804;

}  // namespace snipkit::ids::aboutwin
