// The procedure / function dialog (unit fProc); its controls come with the skeleton command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmProc : public win::Form {
public:
    TfrmProc() : Form({L"TfrmProc", L"Add Procedure/Function", win::kDialogFrameNoButtons, win::Centred(), win::ClientSize(240, 200), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmProc() { return std::make_unique<TfrmProc>(); }

}  // namespace snipkit
