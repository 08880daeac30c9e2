// Control ids of the four template dialogs, shared by the dialogs and by the
// end-to-end driver that fills them in. OK and Cancel are ids::butOK and
// ids::butCancel. No <windows.h> here.
#pragma once

#include "ui/dialog_ids.h"

namespace snipkit::ids {

namespace fif {  // TfrmIF
constexpr int grpCond = 301;
constexpr int txtCond = 302;
constexpr int chkElse = 303;
constexpr int labSpin = 304;
constexpr int spin1 = 305;        // the spin edit's text field
constexpr int spin1Arrows = 306;  // its up-down arrows
constexpr int chkSurround = 307;
}  // namespace fif

namespace ffornext {  // TfrmForNext
constexpr int grpVar = 321;
constexpr int txtVar = 322;
constexpr int grpRange = 323;
constexpr int txtMin = 324;
constexpr int labTo = 325;
constexpr int txtMax = 326;
constexpr int chkDownto = 327;
constexpr int chkSurround = 328;
constexpr int keyRange = 329;  // carries the access key of "&Range"
}  // namespace ffornext

namespace fwhile {  // TfrmWhile
constexpr int chkRepeat = 341;
constexpr int chkWhile = 342;
constexpr int grpCond = 343;
constexpr int txtCond = 344;
constexpr int chkSurround = 345;
constexpr int chkWith = 346;
}  // namespace fwhile

namespace fproc {  // TfrmProc
constexpr int chkProc = 361;
constexpr int chkCons = 362;
constexpr int chkFn = 363;
constexpr int chkDest = 364;
constexpr int grpName = 365;
constexpr int txtName = 366;
constexpr int chkVars = 367;
constexpr int chkComment = 368;
}  // namespace fproc

}  // namespace snipkit::ids
