// The dialogs start-up creates after the toolbar, each made in its own unit.
// Each form type is a window and, for the commands, the dialog's entry point.
#pragma once

#include <memory>

#include "app/form_win.h"
#include "format/findent.h"
#include "stash/stash_commands.h"
#include "templates/template_commands.h"

namespace snipkit {

class IndentForm : public win::Form, public IndentDialog {
    using Form::Form;
};
class ProcForm : public win::Form, public ProcDialog {
    using Form::Form;
};
class WhileForm : public win::Form, public WhileDialog {
    using Form::Form;
};
class ForNextForm : public win::Form, public ForNextDialog {
    using Form::Form;
};
class SaveForm : public win::Form, public SaveDialog {
    using Form::Form;
};
class StashForm : public win::Form, public StashDialog {
    using Form::Form;
};
class IfForm : public win::Form, public IfDialog {
    using Form::Form;
};

std::unique_ptr<IndentForm> NewTfrmIndent();
std::unique_ptr<ProcForm> NewTfrmProc();
std::unique_ptr<WhileForm> NewTfrmWhile();
std::unique_ptr<ForNextForm> NewTfrmForNext();
std::unique_ptr<win::Form> NewTfrmAbout();
std::unique_ptr<SaveForm> NewTfrmSave();
std::unique_ptr<StashForm> NewTfrmStash();
// Not created at start-up: the if...then command makes one for each use.
std::unique_ptr<IfForm> NewTfrmIF();

// The dialogs the toolbar's commands open; set once at start-up.
struct Dialogs {
    IndentDialog* frmIndent = nullptr;
    ProcDialog* frmProc = nullptr;
    WhileDialog* frmWhile = nullptr;
    ForNextDialog* frmForNext = nullptr;
    win::Form* frmAbout = nullptr;
    SaveDialog* frmSave = nullptr;
    StashDialog* frmStash = nullptr;
};

}  // namespace snipkit
