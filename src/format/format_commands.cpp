#include "format/format_commands.h"

#include "format/comment_rules.h"
#include "format/indent_rules.h"

namespace snipkit {

// Every command here reads the selection; after a failed capture it stops
// rather than rewriting the text an earlier command left behind.

void mnuCommentSlashClick(EditorBridge& bridge) {
    if (!bridge.CaptureSelection(true)) return;
    std::string& work = bridge.State().WorkText;
    const std::string commented = CommentSlash(work);
    work.clear();
    bridge.ReplaceSelection(commented);
}

void mnuCommentBraceClick(EditorBridge& bridge) {
    if (!bridge.CaptureSelection(true)) return;
    bridge.ReplaceSelection(CommentBrace(bridge.State().WorkText));
}

void mnuCommentParClick(EditorBridge& bridge) {
    if (!bridge.CaptureSelection(true)) return;
    bridge.ReplaceSelection(CommentParen(bridge.State().WorkText));
}

void mnuUncommentClick(EditorBridge& bridge) {
    if (!bridge.CaptureSelection(true)) return;
    const UncommentResult r = Uncomment(bridge.State().WorkText);
    if (r.paste) bridge.ReplaceSelection(*r.paste);
}

std::string IndentDialogResult(const IndentFields& fields) {
    const int columns = ClampIndentColumns(IndentColumnsFromField(fields.spinText));
    return fields.indent ? Indent(fields.memoText, columns) : Unindent(fields.memoText, columns);
}

void mnuIndentClick(EditorBridge& bridge, IndentDialog& dialog, IndentFields& fields) {
    if (!bridge.CaptureSelection(true)) return;
    fields.memoText = bridge.State().WorkText;
    fields.spinText = std::to_string(kIndentColumnsDefault);
    if (!dialog.Show(fields)) return;
    bridge.ReplaceSelection(IndentDialogResult(fields));
}

}  // namespace snipkit
