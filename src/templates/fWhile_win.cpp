// The while / repeat / with dialog (unit fWhile); its controls come with its command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmWhile : public WhileForm {
public:
    TfrmWhile() : WhileForm({L"TfrmWhile", L"Insert Repeat / While / With", win::kDialogFrameNoButtons, win::Centred(), win::ClientSize(240, 200), {}}) {}

    bool Show(WhileFields&) override { return ShowModal() == 1; }
};

}  // namespace

std::unique_ptr<WhileForm> NewTfrmWhile() { return std::make_unique<TfrmWhile>(); }

}  // namespace snipkit
