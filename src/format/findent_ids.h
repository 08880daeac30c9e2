// Control identifiers of the Indent dialog (TfrmIndent), shared by the dialog
// and the end-to-end driver that works it. No <windows.h> here.
#pragma once

#include "ui/dialog_ids.h"

namespace snipkit::ids::findent {

// butOK and butCancel are ids::butOK and ids::butCancel.
constexpr int Panel1 = 301;
constexpr int Memo1 = 302;
constexpr int spin1 = 303;        // the edit field of the column count
constexpr int spin1Arrows = 304;  // its up/down arrows
constexpr int chkIndent = 305;
constexpr int chkUnindent = 306;
constexpr int Label1 = 307;

}  // namespace snipkit::ids::findent
