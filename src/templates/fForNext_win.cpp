// The for loop dialog (unit fForNext); its controls come with its command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmForNext : public ForNextForm {
public:
    TfrmForNext() : ForNextForm({L"TfrmForNext", L"Insert FOR...NEXT", win::kDialogFrame, win::Centred(), win::ClientSize(240, 200), {}}) {}

    bool Show(ForFields&) override { return ShowModal() == 1; }
};

}  // namespace

std::unique_ptr<ForNextForm> NewTfrmForNext() { return std::make_unique<TfrmForNext>(); }

}  // namespace snipkit
