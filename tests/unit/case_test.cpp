#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fake_window_system.h"
#include "format/case_commands.h"

namespace snipkit::testing {
namespace {

struct RuleCase {
    const char* in;
    const char* upper;
    const char* lower;
    const char* flip;
    const char* title;
};

TEST(CaseRules, Table) {
    const RuleCase cases[] = {
        {"Hello, World 123", "HELLO, WORLD 123", "hello, world 123", "hELLO, wORLD 123", "Hello, World 123"},
        {"@[`{", "@[`{", "@[`{", "@[`{", "@[`{"},
        {"a\r\nB\r\n", "A\r\nB\r\n", "a\r\nb\r\n", "A\r\nb\r\n", "A\r\nB\r\n"},
        {"\xE9\xC9z\xFF", "\xE9\xC9Z\xFF", "\xE9\xC9z\xFF", "\xE9\xC9Z\xFF", "\xE9\xC9z\xFF"},
        {"Grüße Ω 日本 abc", "GRüßE Ω 日本 ABC", "grüße Ω 日本 abc", "gRüßE Ω 日本 ABC", "Grüße Ω 日本 Abc"},
        {"MAX_LINE_COUNT", "MAX_LINE_COUNT", "max_line_count", "max_line_count", "Max_Line_Count"},
        {"showMessage(x2y, 2nd);", "SHOWMESSAGE(X2Y, 2ND);", "showmessage(x2y, 2nd);", "SHOWmESSAGE(X2Y, 2ND);",
         "Showmessage(X2y, 2nd);"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(ApplyCaseRule(CaseRule::Upper, c.in), c.upper);
        EXPECT_EQ(ApplyCaseRule(CaseRule::Lower, c.in), c.lower);
        EXPECT_EQ(ApplyCaseRule(CaseRule::Flip, c.in), c.flip);
        EXPECT_EQ(ApplyCaseRule(CaseRule::Title, c.in), c.title);
    }
}

TEST(CaseRules, EveryByteOutsideTheLetterRangesPassesThroughAndFlipIsAnInvolution) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    for (CaseRule rule : {CaseRule::Upper, CaseRule::Lower, CaseRule::Flip, CaseRule::Title}) {
        const std::string out = ApplyCaseRule(rule, all);
        ASSERT_EQ(out.size(), all.size());
        for (int b = 0; b < 256; ++b) {
            const bool letter = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
            if (!letter) EXPECT_EQ(static_cast<unsigned char>(out[b]), b) << "byte " << b;
            else EXPECT_EQ(out[b] | 0x20, b | 0x20) << "byte " << b;
        }
    }
    EXPECT_EQ(ApplyCaseRule(CaseRule::Flip, ApplyCaseRule(CaseRule::Flip, all)), all);
}

TEST(CaseCommands, ConvertTheFreshSelectionOnly) {
    struct Row {
        const char* name;
        std::size_t selStart, selEnd;
        bool clipboardHeld;  // by another program, until the box shows
        const char* expectEditor;
        std::size_t expectPastes;
        std::size_t expectBoxes;
    };
    const Row rows[] = {
        {"selection converted", 2, 9, false, "x GRüßE y", 1, 0},
        {"nothing selected: nothing pasted", 3, 3, false, "x Grüße y", 0, 0},
        {"failed capture does not reuse earlier text", 2, 9, true, "x Grüße y", 0, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        d.ws.SetSelection(d.editControl, "x Grüße y", r.selStart, r.selEnd);
        d.ws.SetClipboard("clip");
        b.State().WorkText = "stale text from an earlier command";
        b.State().SourceWindow = d.editWindow;
        b.State().EditorControl = d.editControl;
        if (r.clipboardHeld) {
            d.ws.clipboardBusy = true;
            d.boxes.whileShown = [&d] { d.ws.clipboardBusy = false; };
        }

        RunCaseCommand(b, CaseRule::Upper);

        EXPECT_EQ(d.ws.Window(d.editControl).text, r.expectEditor);
        EXPECT_EQ(std::count(d.ws.sent.begin(), d.ws.sent.end(), SentMessage{d.editControl, EditMessage::Paste}),
                  static_cast<std::ptrdiff_t>(r.expectPastes));
        EXPECT_EQ(d.boxes.shown.size(), r.expectBoxes);
        if (r.clipboardHeld) {
            EXPECT_EQ(d.ws.clipText(), "clip");
            EXPECT_TRUE(d.ws.raised.empty());
        }
    }
}

TEST(CaseCommands, UndoTakesThePasteBack) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    d.ws.SetSelection(d.editControl, "begin end", 0, 5);
    b.State().SourceWindow = d.editWindow;
    RunCaseCommand(b, CaseRule::Flip);
    EXPECT_EQ(d.ws.Window(d.editControl).text, "BEGIN end");
    b.mnuUndoClick();
    EXPECT_EQ(d.ws.Window(d.editControl).text, "begin end");
}

}  // namespace
}  // namespace snipkit::testing
