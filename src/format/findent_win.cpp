// The Indent dialog (unit findent); its controls come with the indent command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmIndent : public win::Form {
public:
    TfrmIndent() : Form({L"TfrmIndent", L"Indent", win::kDialogFrame, win::Centred(), win::OuterSize(300, 222), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmIndent() { return std::make_unique<TfrmIndent>(); }

}  // namespace snipkit
