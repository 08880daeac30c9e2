// The Indent dialog (unit findent): a window and the dialog the indent
// command opens.
#pragma once

#include <memory>

#include "format/findent.h"
#include "ui/form_win.h"

namespace snipkit {

class IndentForm : public win::Form, public IndentDialog {
    using Form::Form;
};

std::unique_ptr<IndentForm> NewTfrmIndent();

}  // namespace snipkit
