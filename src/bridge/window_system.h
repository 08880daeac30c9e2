// The few window-system and clipboard calls the toolbar needs, behind an
// interface so the bridge and the command flows run under unit tests with a fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace snipkit {

// A window handle as a plain number; 0 means "none".
using Hwnd = std::uintptr_t;

enum class EditMessage : unsigned {
    Copy = 0x0301,   // WM_COPY
    Paste = 0x0302,  // WM_PASTE
    Undo = 0x0304,   // WM_UNDO
};

struct ClipboardText {
    bool busy = false;     // another program kept the clipboard open
    bool hasText = false;  // the clipboard offers text
    std::string text;      // UTF-8
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual Hwnd ForegroundWindow() = 0;
    virtual bool IsWindow(Hwnd w) = 0;
    // True for every window that belongs to this program's own process.
    virtual bool IsOwnProcessWindow(Hwnd w) = 0;
    // At most 98 characters; empty when the name cannot be read.
    virtual std::string ClassName(Hwnd w) = 0;
    // At most maxChars characters; empty for no window or no title.
    virtual std::string WindowTitle(Hwnd w, std::size_t maxChars) = 0;
    // The window w is a child of; none for a top-level or no window.
    virtual Hwnd Parent(Hwnd w) = 0;
    virtual Hwnd FirstChild(Hwnd w) = 0;
    virtual Hwnd NextSibling(Hwnd w) = 0;
    // The top-level window w belongs to (w itself when it is one); 0 for no window.
    virtual Hwnd TopLevelOf(Hwnd w) = 0;
    virtual void Send(Hwnd w, EditMessage m) = 0;
    // SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE).
    virtual void RaiseWindow(Hwnd w) = 0;

    // Changes whenever the clipboard's content changes.
    virtual std::uint32_t ClipboardSequence() = 0;

    // Opens and closes the clipboard again and again for ms milliseconds,
    // often enough to see a program that keeps it for a fraction of one:
    // true when no other program held it at any look. Changes nothing, so
    // it wakes no clipboard listener. The last look is the latest.
    virtual bool ClipboardStaysFree(unsigned ms) = 0;

    // The three calls below open the clipboard once: while another program
    // holds it they fail at once, and the caller decides how long to wait.
    // False when the clipboard could not be opened.
    virtual bool EmptyClipboard() = 0;
    virtual ClipboardText ReadClipboardText() = 0;
    // The clipboard then holds text alone. False when it could not be set.
    virtual bool WriteClipboardText(const std::string& text) = 0;
    // True once some program has asked for the text last written (later
    // requests are not seen). The text is handed over at the first request.
    virtual bool ClipboardTextTaken() = 0;
    // Hands the text last written over now, if nobody has asked for it yet
    // and it is still on the clipboard: it then stays there whatever becomes
    // of this program.
    virtual void KeepClipboardText() = 0;

    // A steady clock, and a wait on it during which other programs' messages
    // to this program's windows are still answered.
    virtual std::uint64_t Milliseconds() = 0;
    virtual void Wait(unsigned ms) = 0;
};

// The program's message boxes, all application-modal.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // No icon, OK button.
    virtual void MsgBox(const std::string& text, const std::string& caption) = 0;
    // No icon, Yes/No/Cancel; returns 6, 7 or 2.
    virtual int MsgBoxYesNoCancel(const std::string& text, const std::string& caption) = 0;
};

constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
constexpr int kIdCancel = 2;

}  // namespace snipkit
