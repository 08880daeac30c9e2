#include "templates/template_commands.h"

#include <limits>

#include "bridge/app_error.h"
#include "format/indent_rules.h"

namespace snipkit {
namespace {

// Header files are opened by their bare names in the current directory and
// read whole: any size that fits in memory is inserted.
std::string ReadHeaderFile(FileSystem& fs, const char* name) {
    FileRead r = fs.ReadTextFile(name, std::numeric_limits<std::uint64_t>::max());
    if (r.status == FileRead::Status::TooLarge) throw TextExceedsMemoCapacity();
    if (r.status != FileRead::Status::Ok) throw CannotOpenFile(name);
    return std::move(r.text);
}

void InsertHeader(EditorBridge& bridge, FileSystem& fs, const char* name) {
    if (!bridge.CaptureSelection(false)) return;
    bridge.ReplaceSelection(HeaderCommentText(ReadHeaderFile(fs, name)));
}

}  // namespace

IfFields IfFieldsFromDialog(const IfDialogFields& dialog) {
    IfFields f;
    f.condition = dialog.condition;
    f.indent = IfIndentFromField(dialog.spinText);
    f.withElse = dialog.withElse;
    f.surround = dialog.surround;
    return f;
}

// A capture that showed its message ends the command here too: no dialog
// for nothing, and the user's clipboard is left alone.
void mnuBeginEndClick(EditorBridge& bridge) {
    if (!bridge.CaptureSelection(false)) return;
    bridge.State().WorkText = BeginEndBlock();
    bridge.ReplaceSelection(bridge.State().WorkText);
}

void mnuIfthenClick(EditorBridge& bridge, IfDialog& dialog) {
    if (!bridge.CaptureSelection(true)) return;
    IfDialogFields fields;  // the dialog always opens with its defaults
    if (!dialog.Show(fields)) return;
    std::string& work = bridge.State().WorkText;
    work = IfThen(IfFieldsFromDialog(fields), work);
    bridge.ReplaceSelection(work);
}

void mnuForNextClick(EditorBridge& bridge, ForNextDialog& dialog, ForFields& fields) {
    if (!bridge.CaptureSelection(true)) return;
    // Cancel pastes nothing: the user may have clicked elsewhere in the
    // editor meanwhile, and a paste there would copy the text.
    if (!dialog.Show(fields)) return;
    bridge.ReplaceSelection(ForNext(fields, bridge.State().WorkText));
}

void mnuWhileClick(EditorBridge& bridge, WhileDialog& dialog, WhileFields& fields) {
    if (!bridge.CaptureSelection(true)) return;
    if (!dialog.Show(fields)) return;
    bridge.ReplaceSelection(WhileBlock(fields, bridge.State().WorkText));
}

void mnuProcClick(EditorBridge& bridge, ProcDialog& dialog, ProcFields& fields, FileSystem& fs) {
    if (!bridge.CaptureSelection(false)) return;
    if (!dialog.Show(fields)) return;
    const std::string header = fields.comment ? ReadHeaderFile(fs, kProcHeadFile) : std::string();
    bridge.ReplaceSelection(ProcSkeleton(fields, header));
}

void mnuUnitHeadClick(EditorBridge& bridge, FileSystem& fs) { InsertHeader(bridge, fs, kUnitHeadFile); }

void mnuProcHeadClick(EditorBridge& bridge, FileSystem& fs) { InsertHeader(bridge, fs, kProcHeadFile); }

}  // namespace snipkit
