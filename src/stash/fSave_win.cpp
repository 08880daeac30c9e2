// The save-to-stash dialog (unit fSave); its controls come with the stash command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmSave : public win::Form {
public:
    TfrmSave() : Form({L"TfrmSave", L"Save code to stash", win::kToolWindowFrame, win::Centred(), win::ClientSize(312, 227), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmSave() { return std::make_unique<TfrmSave>(); }

}  // namespace snipkit
