// The for loop dialog (unit fForNext); its controls come with its command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmForNext : public win::Form {
public:
    TfrmForNext() : Form({L"TfrmForNext", L"Insert FOR...NEXT", win::kDialogFrame, win::Centred(), win::ClientSize(240, 200), {}}) {}
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmForNext() { return std::make_unique<TfrmForNext>(); }

}  // namespace snipkit
