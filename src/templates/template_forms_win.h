// The template dialogs (units fIF, fForNext, fWhile, fProc): each a window
// and the dialog its command opens.
#pragma once

#include <memory>

#include "templates/template_commands.h"
#include "ui/form_win.h"

namespace snipkit {

class ProcForm : public win::Form, public ProcDialog {
    using Form::Form;
};
class WhileForm : public win::Form, public WhileDialog {
    using Form::Form;
};
class ForNextForm : public win::Form, public ForNextDialog {
    using Form::Form;
};
class IfForm : public win::Form, public IfDialog {
    using Form::Form;
};

std::unique_ptr<ProcForm> NewTfrmProc();
std::unique_ptr<WhileForm> NewTfrmWhile();
std::unique_ptr<ForNextForm> NewTfrmForNext();
// Not created at start-up: the if...then command makes one for each use.
std::unique_ptr<IfForm> NewTfrmIF();

}  // namespace snipkit
