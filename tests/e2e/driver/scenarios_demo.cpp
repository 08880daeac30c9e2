// The scripted demo that tools/run.sh plays on a private display: a few lines
// of the sample unit upper-cased through the toolbar's menu with the mouse
// and the access keys, then taken back with Undo, with a screenshot per step.
#include <cstdio>

#include "toolbar/command_ids.h"
#include "desk.h"

namespace e2e {

E2E_SCENARIO("demo", "upper_case_and_undo", "screenshots of UPPER CASE and Undo on the sample unit") {
    namespace ids = snipkit::ids;
    run.Require(!run.config().shotsDir.empty(), "a folder for the screenshots (--shots)");
    run.Require(HaveHost(run), "the runner's host helper for the mouse, keys and screenshots");
    const std::wstring& shots = run.config().shotsDir;
    std::vector<std::string> saved;
    auto shot = [&](const char* name) { saved.push_back(Screenshot(run, shots, name)); };

    EditorOptions e;
    e.file = run.config().repoRoot + L"\\tests\\e2e\\sample\\Unit1.pas";
    ToolbarOptions t;
    t.cwd = run.config().repoRoot;  // where the header comment files live
    Desk d = OpenDesk(run, e, t);
    const std::string original = d.editor.Text();
    run.Require(!original.empty(), "the sample unit is loaded");

    const std::string lines = "procedure TForm2.Button1Click(Sender: TObject);\r\nvar\r\n  i: Integer;\r\n";
    d.editor.SelectText(run, lines);
    shot("01-selected");

    ClickMenuButton(run, d.toolbar, ids::butText);
    OpenSubmenuByKey(run, d.toolbar, "c");
    shot("02-case-menu");
    PressMenuKeys(run, d.toolbar, {"u"});
    std::string upper = original;
    const size_t pos = upper.find(lines);
    upper.replace(pos, lines.size(), "PROCEDURE TFORM2.BUTTON1CLICK(SENDER: TOBJECT);\r\nVAR\r\n  I: INTEGER;\r\n");
    ExpectEditorText(run, d.editor, upper, kDefaultTimeout, "after UPPER CASE");
    Pump(300);
    shot("03-upper-case");

    ClickMenuButton(run, d.toolbar, ids::butMenu);
    shot("04-general-menu");
    PressMenuKeys(run, d.toolbar, {"u"});
    ExpectEditorText(run, d.editor, original, kDefaultTimeout, "after Undo");
    Pump(300);
    shot("05-undone");

    for (const std::string& p : saved) std::printf("screenshot: %s\n", p.c_str());
}

}  // namespace e2e
