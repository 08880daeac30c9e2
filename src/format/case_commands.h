// The four case commands of the "&Case" menu.
#pragma once

#include <string>
#include <string_view>

#include "app/bridge.h"

namespace snipkit {

enum class CaseRule { Upper, Lower, Title, Flip };

std::string ApplyCaseRule(CaseRule rule, std::string_view text);

// The same written to out (text.size() bytes, not overlapping text).
void ApplyCaseRule(CaseRule rule, std::string_view text, char* out);

// Captures the selection afresh, converts it and pastes it back. Nothing is
// pasted when no text was captured or the selection was empty.
void RunCaseCommand(EditorBridge& bridge, CaseRule rule);

}  // namespace snipkit
