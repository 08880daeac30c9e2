#include "format/case_commands.h"

namespace snipkit {

void RunCaseCommand(EditorBridge& bridge, CaseRule rule) {
    std::string& work = bridge.State().WorkText;
    work.clear();
    if (!bridge.CaptureSelection(true) || work.empty()) return;
    work = ApplyCaseRule(rule, work);
    bridge.ReplaceSelection(work);
}

}  // namespace snipkit
