#include "format/case_commands.h"

#include "format/case_rules.h"

namespace snipkit {

std::string ApplyCaseRule(CaseRule rule, std::string_view text) {
    switch (rule) {
        case CaseRule::Upper: return UpperCase(text);
        case CaseRule::Lower: return LowerCase(text);
        case CaseRule::Title: return TitleCase(text);
        case CaseRule::Flip: return FlipCase(text);
    }
    return std::string(text);
}

void ApplyCaseRule(CaseRule rule, std::string_view text, char* out) {
    switch (rule) {
        case CaseRule::Upper: UpperCase(text, out); return;
        case CaseRule::Lower: LowerCase(text, out); return;
        case CaseRule::Title: TitleCase(text, out); return;
        case CaseRule::Flip: FlipCase(text, out); return;
    }
}

void RunCaseCommand(EditorBridge& bridge, CaseRule rule) {
    std::string& work = bridge.State().WorkText;
    work.clear();
    if (!bridge.CaptureSelection(true) || work.empty()) return;
    work = ApplyCaseRule(rule, work);
    bridge.ReplaceSelection(work);
}

}  // namespace snipkit
