// The stash browser (unit fStash); its controls come with the retrieve command.
#include "app/forms_win.h"

namespace snipkit {
namespace {

class TfrmStash : public StashForm {
public:
    TfrmStash() : StashForm({L"TfrmStash", L"your code Stash", win::kSizeableFrame, win::Centred(), win::OuterSize(399, 252), {}}) {}

    std::optional<std::string> Show(StashStore&) override { ShowModal(); return std::nullopt; }
};

}  // namespace

std::unique_ptr<StashForm> NewTfrmStash() { return std::make_unique<TfrmStash>(); }

}  // namespace snipkit
