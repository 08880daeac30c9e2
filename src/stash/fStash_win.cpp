// The stash browser (unit fStash); its controls come with the retrieve command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmStash : public win::Form {
public:
    TfrmStash() : Form({L"TfrmStash", L"your code Stash", win::kSizeableFrame, win::Centred(), win::OuterSize(399, 252), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmStash() { return std::make_unique<TfrmStash>(); }

}  // namespace snipkit
