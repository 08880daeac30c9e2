// The Indent dialog (unit findent); its controls come with the indent command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmIndent : public IndentForm {
public:
    TfrmIndent() : IndentForm({L"TfrmIndent", L"Indent", win::kDialogFrame, win::Centred(), win::OuterSize(300, 222), {}}) {}

    bool Show(IndentFields&) override { return ShowModal() == 1; }
};

}  // namespace

std::unique_ptr<IndentForm> NewTfrmIndent() { return std::make_unique<TfrmIndent>(); }

}  // namespace snipkit
