#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bridge/app_error.h"
#include "fake_file_system.h"
#include "fake_window_system.h"
#include "scripted_dialog.h"
#include "templates/template_commands.h"

namespace snipkit::testing {
namespace {

using ScriptedIf = Scripted<IfDialog, IfDialogFields>;
using ScriptedFor = Scripted<ForNextDialog, ForFields>;
using ScriptedWhile = Scripted<WhileDialog, WhileFields>;
using ScriptedProc = Scripted<ProcDialog, ProcFields>;

struct Editor : Desk {
    EditorBridge bridge{ws, boxes};
    explicit Editor(const std::string& text, std::size_t selStart, std::size_t selEnd) {
        ws.SetSelection(editControl, text, selStart, selEnd);
        bridge.State().SourceWindow = editWindow;
    }
    const std::string& Text() { return ws.Window(editControl).text; }
};

TEST(TemplateCommands, BeginEndReplacesTheSelection) {
    Editor e("<a\r\nb\r\n>", 1, 7);
    mnuBeginEndClick(e.bridge);
    EXPECT_EQ(e.Text(), "<begin\r\n\r\nend;>");
}

TEST(TemplateCommands, IfThenOpensWithDefaultsEveryTime) {
    Editor e("<  x := 1;\r\n>", 1, 12);
    ScriptedIf dialog;
    dialog.user = [](IfDialogFields& f) {
        f.condition = "x > 0";
        f.spinText = "4";
        f.withElse = true;
        f.surround = true;
        return true;
    };
    mnuIfthenClick(e.bridge, dialog);
    EXPECT_EQ(e.Text(),
              "<    if x > 0 then begin\r\n  x := 1;\r\n\r\n    end else begin\r\n    end;  {if x > 0}\r\n>");

    dialog.user = [](IfDialogFields&) { return false; };
    const std::string before = e.Text();
    e.ws.SetSelection(e.editControl, before, 0, 1);
    e.ws.sent.clear();
    mnuIfthenClick(e.bridge, dialog);
    ASSERT_EQ(dialog.seen.size(), 2u);
    EXPECT_EQ(dialog.seen[1].condition, "");
    EXPECT_EQ(dialog.seen[1].spinText, "2");
    EXPECT_FALSE(dialog.seen[1].withElse);
    EXPECT_FALSE(dialog.seen[1].surround);
    // Cancel pastes nothing, not even the selection back over itself.
    EXPECT_EQ(std::count(e.ws.sent.begin(), e.ws.sent.end(), SentMessage{e.editControl, EditMessage::Paste}), 0);
}

TEST(TemplateCommands, IfIndentFromTheField) {
    const struct {
        const char* spin;
        const char* firstLine;
    } rows[] = {{"2", "  if c then begin"}, {"0", "if c then begin"}, {"-3", "if c then begin"}, {"", " if c then begin"}};
    for (const auto& r : rows) {
        IfDialogFields f;
        f.condition = "c";
        f.spinText = r.spin;
        const std::string out = IfThen(IfFieldsFromDialog(f), "");
        EXPECT_EQ(out.substr(0, out.find("\r\n")), r.firstLine) << r.spin;
    }
}

TEST(TemplateCommands, ForAndWhileWrapOrCancelWithoutPasting) {
    const std::string sel = "    x := x + i;\r\n    y := y - 1;\r\n";
    struct Row {
        const char* name;
        bool ok;
        bool surround;
        bool useWhile;
        std::string expect;
    };
    const Row rows[] = {
        {"for, surround", true, true, false,
         "    for i := 1 to 10 do begin\r\n      x := x + i;\r\n      y := y - 1;\r\n    end; {next i}\r\n"},
        {"for, replace", true, false, false, "for i := 1 to 10 do begin\r\nend; {next i}\r\n"},
        {"for, cancel pastes nothing", false, true, false, sel},
        {"while, surround", true, true, true,
         "    while i < n do begin\r\n      x := x + i;\r\n      y := y - 1;\r\n    end; {while}\r\n"},
        {"while, cancel pastes nothing", false, false, true, sel},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Editor e("<" + sel + ">", 1, 1 + sel.size());
        ScriptedFor forDialog;
        ScriptedWhile whileDialog;
        ForFields forFields;
        WhileFields whileFields;
        // The editor stays usable while the dialog is open: before Cancel the
        // user clicks at the end of the text, where a paste would land.
        const auto clickAtEndUnlessOk = [&] {
            if (!r.ok) e.ws.SetSelection(e.editControl, e.Text(), e.Text().size(), e.Text().size());
            return r.ok;
        };
        forDialog.user = [&](ForFields& f) {
            f = {"i", "1", "10", false, r.surround};
            return clickAtEndUnlessOk();
        };
        whileDialog.user = [&](WhileFields& f) {
            f.kind = WhileKind::While;
            f.condition = "i < n";
            f.surround = r.surround;
            return clickAtEndUnlessOk();
        };
        if (r.useWhile) mnuWhileClick(e.bridge, whileDialog, whileFields);
        else mnuForNextClick(e.bridge, forDialog, forFields);
        EXPECT_EQ(e.Text(), "<" + r.expect + ">");
    }
}

TEST(TemplateCommands, PersistentDialogsKeepTheirEntries) {
    Editor e("<x>", 1, 2);
    ScriptedFor dialog;
    ForFields fields;
    dialog.user = [](ForFields& f) {
        f.variable = "j";
        return false;
    };
    mnuForNextClick(e.bridge, dialog, fields);
    mnuForNextClick(e.bridge, dialog, fields);
    EXPECT_EQ(dialog.seen.at(1).variable, "j");
}

TEST(TemplateCommands, FailedCaptureOpensNoDialog) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().SourceWindow = d.otherApp;
    ScriptedIf ifDialog;
    ScriptedFor forDialog;
    ScriptedWhile whileDialog;
    ForFields ff;
    WhileFields wf;
    mnuIfthenClick(b, ifDialog);
    mnuForNextClick(b, forDialog, ff);
    mnuWhileClick(b, whileDialog, wf);
    EXPECT_TRUE(ifDialog.seen.empty() && forDialog.seen.empty() && whileDialog.seen.empty());
    EXPECT_EQ(d.boxes.shown.size(), 3u);
}

// Commands that do not read the selection stop after the capture's message
// too: no dialog, and the user's clipboard keeps what it held.
TEST(TemplateCommands, NoEditorFoundEndsTheCommandsThatDoNotRead) {
    ScriptedProc procDialog;
    procDialog.user = [](ProcFields&) { return true; };
    ProcFields procFields;
    FakeFileSystem fs;
    fs.files = {{"UnitHead.txt", "{ u }"}, {"ProcHead.txt", "{ p }"}};
    const std::pair<const char*, std::function<void(EditorBridge&)>> commands[] = {
        {"begin...end", [](EditorBridge& b) { mnuBeginEndClick(b); }},
        {"procedure / function", [&](EditorBridge& b) { mnuProcClick(b, procDialog, procFields, fs); }},
        {"UNIT comment", [&](EditorBridge& b) { mnuUnitHeadClick(b, fs); }},
        {"PROC comment", [&](EditorBridge& b) { mnuProcHeadClick(b, fs); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().SourceWindow = d.otherApp;
        d.ws.SetClipboard("old clip");
        command(b);
        EXPECT_EQ(d.boxes.shown, (std::vector<ShownBox>{{kMsgNotEditWindow, kCapNotEditWindow}}));
        EXPECT_EQ(d.ws.clipText(), "old clip");
    }
    EXPECT_TRUE(procDialog.seen.empty());
}

// The editor closed while a dialog was open: nothing is pasted, the result
// waits on the clipboard and a box says so.
TEST(TemplateCommands, EditorClosedWhileTheDialogIsOpen) {
    Editor e("<x>", 1, 2);
    ScriptedIf ifDialog;
    ifDialog.user = [&](IfDialogFields& f) {
        f.condition = "c";
        e.ws.Destroy(e.editControl);
        return true;
    };
    ScriptedProc procDialog;
    procDialog.user = [&](ProcFields& f) {
        f.name = "Run";
        e.ws.Destroy(e.editControl);
        return true;
    };
    ProcFields procFields;
    FakeFileSystem fs;
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[&] { mnuIfthenClick(e.bridge, ifDialog); }, "  if c then begin\r\n  end;  {if c}\r\n"},
        {[&] { mnuProcClick(e.bridge, procDialog, procFields, fs); }, "procedure Run();\r\nbegin\r\n\r\nend;\r\n"},
    };
    for (const auto& [command, result] : rows) {
        SCOPED_TRACE(result);
        e.ws.Window(e.editControl).alive = true;
        e.boxes.shown.clear();
        e.ws.sent.clear();
        command();
        EXPECT_EQ(e.boxes.shown, (std::vector<ShownBox>{{kMsgEditorClosed, kCapEditorClosed}}));
        EXPECT_EQ(e.ws.clipText(), result);
        EXPECT_EQ(std::count(e.ws.sent.begin(), e.ws.sent.end(), SentMessage{e.editControl, EditMessage::Paste}), 0);
    }
}

TEST(TemplateCommands, HeaderFilesAndSkeleton) {
    struct Row {
        const char* name;
        std::function<void(EditorBridge&, FileSystem&)> command;
        std::map<std::string, std::string> files;
        const char* expect;       // editor text afterwards
        const char* expectError;  // nullptr: no error
    };
    ScriptedProc procDialog;
    procDialog.user = [](ProcFields& f) {
        f.kind = ProcKind::Procedure;
        f.name = "Run";
        f.comment = true;
        return true;
    };
    ProcFields procFields;
    const auto proc = [&](EditorBridge& b, FileSystem& fs) { mnuProcClick(b, procDialog, procFields, fs); };
    const Row rows[] = {
        {"unit head with lone LF breaks", mnuUnitHeadClick, {{"UnitHead.txt", "{ unit }\n{ x }\n\n"}},
         "<{ unit }\r\n{ x }\r\n\r\n>", nullptr},
        {"unit head without final break", mnuUnitHeadClick, {{"UnitHead.txt", "{ u }"}}, "<{ u }>", nullptr},
        {"unit head missing", mnuUnitHeadClick, {}, "<sel>", "Cannot open file UnitHead.txt."},
        {"proc head", mnuProcHeadClick, {{"ProcHead.txt", "{ p }\r"}}, "<{ p }\r\n>", nullptr},
        {"unit head with a UTF-8 BOM", mnuUnitHeadClick, {{"UnitHead.txt", "\xEF\xBB\xBF{ \xC3\xA9 }\n"}},
         "<{ \xC3\xA9 }\r\n>", nullptr},
        {"unit head in ANSI", mnuUnitHeadClick, {{"UnitHead.txt", "{ \xE9 }"}}, "<{ \xC3\xA9 }>", nullptr},
        {"proc head in UTF-16 LE", mnuProcHeadClick,
         {{"ProcHead.txt", std::string("\xFF\xFE{\0 \0\xA9\x03 \0}\0\n\0", 14)}}, "<{ \xCE\xA9 }\r\n>", nullptr},
        {"proc head in UTF-16 BE", mnuProcHeadClick, {{"ProcHead.txt", std::string("\xFE\xFF\0{\0\xE9\0}", 8)}},
         "<{\xC3\xA9}>", nullptr},
        {"skeleton with header", proc, {{"ProcHead.txt", "{ comment }"}},
         "<{ comment }\r\nprocedure Run();\r\nbegin\r\n\r\nend;\r\n>", nullptr},
        {"skeleton with a UTF-8 BOM header", proc, {{"ProcHead.txt", "\xEF\xBB\xBF{ c }"}},
         "<{ c }\r\nprocedure Run();\r\nbegin\r\n\r\nend;\r\n>", nullptr},
        {"skeleton with header missing", proc, {}, "<sel>", "Cannot open file ProcHead.txt."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Editor e("<sel>", 1, 4);
        FakeFileSystem fs;
        fs.files = r.files;
        std::string error;
        try {
            r.command(e.bridge, fs);
        } catch (const AppError& err) {
            error = ErrorBoxText(err);
        }
        EXPECT_EQ(e.Text(), r.expect);
        EXPECT_EQ(error, r.expectError ? r.expectError : "");
    }
}

}  // namespace
}  // namespace snipkit::testing
