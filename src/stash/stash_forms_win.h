// The stash dialogs (units fSave, fStash): each a window and the dialog its
// command opens.
#pragma once

#include <memory>

#include "stash/stash_commands.h"
#include "ui/form_win.h"

namespace snipkit {

class SaveForm : public win::Form, public SaveDialog {
    using Form::Form;
};
class StashForm : public win::Form, public StashDialog {
    using Form::Form;
};

std::unique_ptr<SaveForm> NewTfrmSave();
std::unique_ptr<StashForm> NewTfrmStash();

}  // namespace snipkit
