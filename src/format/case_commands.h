// The four case commands of the "&Case" menu.
#pragma once

#include "bridge/bridge.h"
#include "format/case_rules.h"

namespace snipkit {

// Captures the selection afresh, converts it and pastes it back. Nothing is
// pasted when no text was captured or the selection was empty.
void RunCaseCommand(EditorBridge& bridge, CaseRule rule);

}  // namespace snipkit
