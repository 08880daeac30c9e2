// The About box (unit Aboutwin); its controls come with the help commands.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmAbout : public win::Form {
public:
    TfrmAbout() : Form({L"TfrmAbout", L"About Snipkit", win::kDialogFrameNoButtons, win::Centred(), win::ClientSize(298, 183), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmAbout() { return std::make_unique<TfrmAbout>(); }

}  // namespace snipkit
