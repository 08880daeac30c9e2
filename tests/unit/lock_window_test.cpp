#include <gtest/gtest.h>

#include "toolbar/lock_window.h"
#include "fake_window_system.h"

namespace snipkit::testing {
namespace {

TEST(LockWindow, QuestionAndAnswers) {
    const std::string longTitle(200, 'T');
    struct Row {
        const char* name;
        int answer;
        bool checkedBefore;
        bool expectChecked;
        bool expectLocked;
    };
    const Row rows[] = {
        {"yes locks to the editor control", kIdYes, false, true, true},
        {"no unlocks", kIdNo, true, false, false},
        {"cancel changes nothing", kIdCancel, true, true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        d.ws.Window(d.editWindow).title = longTitle;
        b.State().SourceWindow = d.editWindow;
        d.boxes.answer = r.answer;
        bool checked = r.checkedBefore;

        mnuLockWinClick(b, d.ws, d.boxes, checked);

        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].caption, "Lock to Window");
        EXPECT_EQ(d.boxes.shown[0].text, "Would you like to lock the Snipkit to the window \"" +
                                             std::string(127, 'T') +
                                             "\"?  Clicking NO will unlock Snipkit from its current window.");
        EXPECT_EQ(checked, r.expectChecked);
        EXPECT_EQ(b.State().LockedWindow, r.expectLocked ? d.editControl : 0u);
    }
}

TEST(LockWindow, WhileLockedTheQuestionQuotesTheControl) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    d.ws.Window(d.editControl).title = "control text";
    b.State().LockedWindow = d.editControl;
    b.Timer1Timer();
    d.boxes.answer = kIdNo;
    bool checked = true;
    mnuLockWinClick(b, d.ws, d.boxes, checked);
    EXPECT_NE(d.boxes.shown.at(0).text.find("\"control text\""), std::string::npos);
}

// Yes with no live editor control locks nothing and shows no check mark.
TEST(LockWindow, YesWithoutAnEditorLocksNothing) {
    const struct {
        const char* name;
        bool deadControlKnown;  // else no control was ever found
    } rows[] = {{"no editor found yet", false}, {"the known editor was closed, another program in front", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        if (r.deadControlKnown) {
            b.State().EditorControl = d.editControl;
            d.ws.Destroy(d.editControl);
            b.State().SourceWindow = d.otherApp;
        }
        d.boxes.answer = kIdYes;
        bool checked = false;
        mnuLockWinClick(b, d.ws, d.boxes, checked);
        EXPECT_FALSE(checked);
        EXPECT_EQ(b.State().LockedWindow, 0u);
        EXPECT_NE(d.boxes.shown.back().text.find(r.deadControlKnown ? "window \"notes\"?" : "window \"\"?"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace snipkit::testing
