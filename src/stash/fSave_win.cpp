// The save-to-stash dialog (unit fSave); its controls come with the stash command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmSave : public SaveForm {
public:
    TfrmSave() : SaveForm({L"TfrmSave", L"Save code to stash", win::kToolWindowFrame, win::Centred(), win::ClientSize(312, 227), {}}) {}

    void Show(SaveFields&, const std::function<bool(const SaveFields&)>&) override { ShowModal(); }
};

}  // namespace

std::unique_ptr<SaveForm> NewTfrmSave() { return std::make_unique<TfrmSave>(); }

}  // namespace snipkit
