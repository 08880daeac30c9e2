// The commands of the "Format text" menu: comment, uncomment, indent.
#pragma once

#include <string>

#include "bridge/bridge.h"
#include "format/findent.h"

namespace snipkit {

void mnuCommentSlashClick(EditorBridge& bridge);
void mnuCommentBraceClick(EditorBridge& bridge);
void mnuCommentParClick(EditorBridge& bridge);
void mnuUncommentClick(EditorBridge& bridge);

// Opens the Indent dialog on the selection; after OK pastes the dialog's text
// indented or unindented. `fields` lives as long as the dialog does, so the
// Indent / Unindent choice carries over from one opening to the next.
void mnuIndentClick(EditorBridge& bridge, IndentDialog& dialog, IndentFields& fields);

// What the Indent dialog's OK pastes: its text with every counted line shifted.
std::string IndentDialogResult(const IndentFields& fields);

}  // namespace snipkit
