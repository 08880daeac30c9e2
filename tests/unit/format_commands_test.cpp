#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fake_window_system.h"
#include "scripted_dialog.h"
#include "format/format_commands.h"

namespace snipkit::testing {
namespace {

using ScriptedIndentDialog = Scripted<IndentDialog, IndentFields>;

struct FlowRow {
    const char* name;
    void (*command)(EditorBridge&);
    const char* selection;
    const char* expectPasted;  // nullptr: nothing pasted
};

std::size_t Pastes(const FakeWindowSystem& ws) {
    const auto paste = [](const SentMessage& m) { return m.message == EditMessage::Paste; };
    return static_cast<std::size_t>(std::count_if(ws.sent.begin(), ws.sent.end(), paste));
}

TEST(FormatCommands, PasteOrNot) {
    const FlowRow rows[] = {
        {"// on lines", mnuCommentSlashClick, "a\r\n\r\nb\r\n", "//a\r\n//\r\n//b\r\n"},
        {"braces", mnuCommentBraceClick, "a\r\n", "{ a\r\n }"},
        {"paren", mnuCommentParClick, "x", "(* x *)"},
        {"uncomment braces", mnuUncommentClick, "  { x }\r\n", "x\r\n"},
        {"uncomment unmatched pastes nothing", mnuUncommentClick, "{ a } b  ", nullptr},
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
        EXPECT_EQ(Pastes(d.ws), r.expectPasted ? 1u : 0u);
        // The clipboard keeps what was pasted, or else the selection the editor copied.
        EXPECT_EQ(d.ws.clipText(), r.expectPasted ? r.expectPasted : r.selection);
        EXPECT_TRUE(d.boxes.shown.empty());
    }
}

// The capture fails after the editor is known: another program holds the
// clipboard until the box shows, or the editor's copy gives no text. The
// command must not go on with the text of an earlier one.
struct FailedCapture {
    const char* name;
    void (*arrange)(Desk&);
    ShownBox box;
};

void HeldUntilTheBox(Desk& d) {
    d.ws.clipboardBusy = true;
    d.boxes.whileShown = [&d] { d.ws.clipboardBusy = false; };
}

const FailedCapture kFailedCaptures[] = {
    {"clipboard held", HeldUntilTheBox, {kMsgClipboardBusy, kCapClipboardBusy}},
    {"copy without text", [](Desk& d) { d.ws.Window(d.editControl).copiesText = false; }, {kMsgNoData, kCapNoData}},
};

TEST(FormatCommands, FailedCaptureStopsInsteadOfReusingOldText) {
    for (const FailedCapture& failure : kFailedCaptures) {
        for (auto command : {mnuCommentSlashClick, mnuCommentBraceClick, mnuCommentParClick, mnuUncommentClick}) {
            SCOPED_TRACE(failure.name);
            Desk d;
            EditorBridge b(d.ws, d.boxes);
            b.State().SourceWindow = d.editWindow;
            b.State().EditorControl = d.editControl;
            b.State().WorkText = "//old";
            d.ws.SetSelection(d.editControl, "a sel b", 2, 5);
            d.ws.SetClipboard("clip");
            failure.arrange(d);
            const bool textBefore = d.ws.Window(d.editControl).copiesText;

            command(b);

            EXPECT_EQ(d.boxes.shown, std::vector<ShownBox>{failure.box});
            EXPECT_EQ(Pastes(d.ws), 0u);
            EXPECT_TRUE(d.ws.raised.empty());
            // Held: the user's clipboard as it was; no text: what the editor copied.
            EXPECT_EQ(d.ws.clipHasText(), textBefore);
            if (textBefore) {
                EXPECT_EQ(d.ws.clipText(), "clip");
            }
        }
    }
}

TEST(FormatCommands, FailedCaptureOpensNoIndentDialog) {
    for (const FailedCapture& failure : kFailedCaptures) {
        SCOPED_TRACE(failure.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().SourceWindow = d.editWindow;
        b.State().EditorControl = d.editControl;
        b.State().WorkText = "stale";
        d.ws.SetSelection(d.editControl, "a sel b", 2, 5);
        failure.arrange(d);
        ScriptedIndentDialog dialog;
        IndentFields fields;

        mnuIndentClick(b, dialog, fields);

        EXPECT_TRUE(dialog.seen.empty());
        EXPECT_EQ(d.boxes.shown, std::vector<ShownBox>{failure.box});
        EXPECT_EQ(Pastes(d.ws), 0u);
    }
}

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
    const std::size_t pastes = Pastes(d.ws);
    mnuIndentClick(b, dialog, fields);
    EXPECT_EQ(dialog.seen.back().spinText, "2");
    EXPECT_FALSE(dialog.seen.back().indent);
    EXPECT_EQ(Pastes(d.ws), pastes);
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
