// The toolbar (unit butts1): a small stay-on-top tool window with six picture
// buttons, four of which open the popup menus that lead to every command.
#pragma once

#include <optional>
#include <string>

#include "bridge/bridge.h"
#include "bridge/file_system_win.h"
#include "bridge/msgbox_win.h"
#include "bridge/window_system_win.h"
#include "format/findent.h"
#include "stash/stash_commands.h"
#include "templates/template_commands.h"
#include "toolbar/hotkey.h"
#include "toolbar/hotkey_win.h"
#include "ui/form_win.h"
#include "ui/handles_win.h"

namespace snipkit {

// The dialogs the toolbar's commands open; set once at start-up.
struct Dialogs {
    IndentDialog* frmIndent = nullptr;
    ProcDialog* frmProc = nullptr;
    WhileDialog* frmWhile = nullptr;
    ForNextDialog* frmForNext = nullptr;
    win::Form* frmAbout = nullptr;
    SaveDialog* frmSave = nullptr;
    StashDialog* frmStash = nullptr;
};

inline constexpr const wchar_t* kToolbarClass = L"TForm1";
inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT kTimer1IntervalMs = 1000;

class TForm1 : public win::Form {
public:
    TForm1();
    ~TForm1() override;

    EditorBridge& Bridge() { return bridge_; }
    WindowSystem& Windows() { return windows_; }
    MessageBoxes& Boxes() { return boxes_; }
    FileSystem& Files() { return files_; }
    void SetDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }
    // The keyboard key chosen on the command line; from here on it follows
    // the foreground window.
    void SetKey(const KeySetting& setting);
    // A window may have come to the front.
    void FollowForeground() { editorKey_.Follow(); }

    // The hint stored with a toolbar button (tooltips are never shown).
    std::wstring Hint(int buttonId) const;
    HMENU popMain() const { return popMain_.get(); }
    HMENU popText() const { return popText_.get(); }
    HMENU popFormat() const { return popFormat_.get(); }
    HMENU popHelp() const { return popHelp_.get(); }

    void form_create();
    void Timer1Timer();

    void butMenuClick();
    void butTextClick();
    void butFormatClick();
    void butStashClick();
    void butLoadClick();
    void butHelpClick();

    void mnuMinimizeClick();
    void mnuUndoClick();
    void mnuStayOnTopClick();
    void mnuLockWinClick();
    void mnuExitClick();
    void mnuUpperClick();
    void mnuLowerClick();
    void mnuTitleClick();
    void mnuFlipCaseClick();
    void mnuBeginEndClick();
    void mnuIfthenClick();
    void mnuForNextClick();
    void mnuWhileClick();
    void mnuProcClick();
    void mnuUnitHeadClick();
    void mnuProcHeadClick();
    void mnuIndentClick();
    void mnuCommentSlashClick();
    void mnuCommentBraceClick();
    void mnuCommentParClick();
    void mnuUncommentClick();
    void mnuAboutClick();
    void mnuHelpClick();

protected:
    void OnCreate() override;
    void OnCommand(int id, int code) override;
    void OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnClose() override;

private:
    void SetUpComponents();
    void BuildMenus();
    // The keyboard key's menu: every button's menu or command in one.
    win::MenuHandle BuildKeyMenu() const;
    void OpenPopup(HMENU menu, int buttonId, bool belowButton);
    void OpenKeyMenu();

    win::Win32WindowSystem windows_;
    Win32MessageBoxes boxes_;
    Win32FileSystem files_;
    EditorBridge bridge_{windows_, boxes_};
    Dialogs dialogs_;
    // What the persistent dialogs keep from one opening to the next.
    IndentFields indentFields_;
    ForFields forFields_;
    WhileFields whileFields_;
    ProcFields procFields_;
    SaveFields saveFields_;
    win::MenuHandle popMain_;
    win::MenuHandle popText_;
    win::MenuHandle popFormat_;
    win::MenuHandle popHelp_;
    // Declared in this order so that the key is let go before its
    // registration goes, and the hook goes before the key.
    win::Win32HotKeys hotKeys_;
    EditorKey editorKey_{windows_, boxes_, hotKeys_, bridge_.State()};
    std::optional<win::ForegroundHook> foregroundHook_;
};

// The toolbar, the application's main form.
TForm1& Form1();

}  // namespace snipkit
