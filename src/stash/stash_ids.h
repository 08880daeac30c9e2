// Control identifiers of the save dialog (TfrmSave) and the stash browser
// (TfrmStash), shared by the dialogs and the end-to-end driver that works
// them. No <windows.h> here.
#pragma once

#include "ui/dialog_ids.h"

// butOK / butCopy and butCancel are ids::butOK and ids::butCancel, so that
// Enter and Esc work.
namespace snipkit::ids::fsave {

constexpr int Panel1 = 601;
constexpr int labName = 602;
constexpr int txtName = 603;
constexpr int labDesc = 604;
constexpr int txtDesc = 605;
constexpr int labView = 606;
constexpr int Memo1 = 607;

}  // namespace snipkit::ids::fsave

namespace snipkit::ids::fstash {

constexpr int butCopy = ids::butOK;
constexpr int PanelLeft = 621;
constexpr int labFiles = 622;
constexpr int file1 = 623;
constexpr int PanelRight = 624;
constexpr int labPreview = 625;
constexpr int Memo1 = 626;

}  // namespace snipkit::ids::fstash
