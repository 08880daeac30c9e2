// The while / repeat / with dialog (unit fWhile); its controls come with its command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmWhile : public win::Form {
public:
    TfrmWhile() : Form({L"TfrmWhile", L"Insert Repeat / While / With", win::kDialogFrameNoButtons, win::Centred(), win::ClientSize(240, 200), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmWhile() { return std::make_unique<TfrmWhile>(); }

}  // namespace snipkit
