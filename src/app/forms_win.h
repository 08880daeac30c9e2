// The dialogs start-up creates after the toolbar, each made in its own unit.
#pragma once

#include <memory>

#include "app/form_win.h"

namespace snipkit {

std::unique_ptr<win::Form> NewTfrmIndent();
std::unique_ptr<win::Form> NewTfrmProc();
std::unique_ptr<win::Form> NewTfrmWhile();
std::unique_ptr<win::Form> NewTfrmForNext();
std::unique_ptr<win::Form> NewTfrmAbout();
std::unique_ptr<win::Form> NewTfrmSave();
std::unique_ptr<win::Form> NewTfrmStash();

}  // namespace snipkit
