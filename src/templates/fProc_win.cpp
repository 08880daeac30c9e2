// The procedure / function dialog (unit fProc); its controls come with the skeleton command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmProc : public ProcForm {
public:
    TfrmProc() : ProcForm({L"TfrmProc", L"Add Procedure/Function", win::kDialogFrameNoButtons, win::Centred(), win::ClientSize(240, 200), {}}) {}

    bool Show(ProcFields&) override { return ShowModal() == 1; }
};

}  // namespace

std::unique_ptr<ProcForm> NewTfrmProc() { return std::make_unique<TfrmProc>(); }

}  // namespace snipkit
