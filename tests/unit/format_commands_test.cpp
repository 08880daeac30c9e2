#include <gtest/gtest.h>

#include <functional>

#include "fake_window_system.h"
#include "scripted_dialog.h"
#include "format/format_commands.h"

namespace snipkit::testing {
namespace {

struct FlowRow {
    const char* name;
    void (*command)(EditorBridge&);
    const char* selection;
    const char* expectPasted;  // nullptr: nothing pasted
};

TEST(FormatCommands, PastedText) {
    const FlowRow rows[] = {
        {"// on lines", mnuCommentSlashClick, "a\r\n\r\nb\r\n", "//a\r\n//\r\n//b\r\n"},
        {"braces", mnuCommentBraceClick, "a\r\n", "{ a\r\n }"},
        {"paren", mnuCommentParClick, "x", "(* x *)"},
        {"uncomment braces", mnuUncommentClick, "  { x }\r\n", "x\r\n"},
        {"uncomment unmatched", mnuUncommentClick, "{ a } b  ", nullptr},
        {"uncomment lines", mnuUncommentClick, "//a\r\n// b\r\n", "a\r\n b\r\n"},
        {"uncomment blanks only pastes nothing", mnuUncommentClick, " \r\n\t ", nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        const std::string before = std::string("<") + r.selection + ">";
        d.ws.SetSelection(d.editControl, before, 1, before.size() - 1);
        b.State().SourceWindow = d.editWindow;

        r.command(b);

        const std::string expect = r.expectPasted ? std::string("<") + r.expectPasted + ">" : before;
        EXPECT_EQ(d.ws.Window(d.editControl).text, expect);
    }
}

TEST(FormatCommands, FailedCaptureStopsInsteadOfReusingOldText) {
    for (auto command : {mnuCommentSlashClick, mnuCommentBraceClick, mnuCommentParClick, mnuUncommentClick}) {
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().SourceWindow = d.otherApp;
        b.State().WorkText = "//old";
        d.ws.SetClipboard("clip");
        command(b);
        EXPECT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(b.State().WorkText, "//old");
        for (const auto& m : d.ws.sent) EXPECT_NE(m.message, EditMessage::Paste);
    }
}

using ScriptedIndentDialog = Scripted<IndentDialog, IndentFields>;

TEST(FormatCommands, IndentDialogFlow) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().SourceWindow = d.editWindow;
    ScriptedIndentDialog dialog;
    IndentFields fields;

    // First use: switch to Unindent, 4 columns, and type an extra line.
    d.ws.SetSelection(d.editControl, "    a\r\n b\r\n", 0, 11);
    dialog.user = [](IndentFields& f) {
        f.indent = false;
        f.spinText = "4";
        f.memoText += "      c";
        return true;
    };
    mnuIndentClick(b, dialog, fields);
    EXPECT_EQ(dialog.seen.back().memoText, "    a\r\n b\r\n");
    EXPECT_EQ(dialog.seen.back().spinText, "2");
    EXPECT_TRUE(dialog.seen.back().indent);
    EXPECT_EQ(d.ws.Window(d.editControl).text, "a\r\nb\r\n  c");

    // Second opening: 2 columns again, Unindent kept; Cancel pastes nothing.
    d.ws.SetSelection(d.editControl, "x", 0, 1);
    dialog.user = [](IndentFields& f) {
        f.memoText = "typed";
        return false;
    };
    mnuIndentClick(b, dialog, fields);
    EXPECT_EQ(dialog.seen.back().spinText, "2");
    EXPECT_FALSE(dialog.seen.back().indent);
    EXPECT_EQ(d.ws.Window(d.editControl).text, "x");
}

TEST(FormatCommands, IndentDialogResultReadsTheFieldLikeTheSpinEdit) {
    const struct {
        const char* spin;
        bool indent;
        const char* memo;
        const char* expect;
    } rows[] = {
        {"2", true, "a\r\n\r\nb\r\n", "  a\r\n  \r\n  b\r\n"},
        {"abc", true, "a", "a"},                          // no number counts as 0
        {"99", true, "a", "                a"},           // held within 0..16
        {"16", false, "                    x", "    x"},
        {"", true, "", ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(IndentDialogResult({r.memo, r.spin, r.indent}), r.expect) << r.spin << " " << r.memo;
    }
}

}  // namespace
}  // namespace snipkit::testing
