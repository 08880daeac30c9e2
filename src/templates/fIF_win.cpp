// The if...then dialog (unit fIF); made afresh for each use.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmIF : public IfForm {
public:
    TfrmIF() : IfForm({L"TfrmIF", L"Insert IF...THEN...", win::kDialogFrame, win::Centred(), win::ClientSize(250, 200), {}}) {}

    bool Show(IfDialogFields&) override { return ShowModal() == 1; }
};

}  // namespace

std::unique_ptr<IfForm> NewTfrmIF() { return std::make_unique<TfrmIF>(); }

}  // namespace snipkit
