// Names shared by the stand-in editor and the test driver.
#pragma once

#include <windows.h>

namespace e2e {

// The IDE editor's window classes, which the toolbar looks for.
inline constexpr const wchar_t* kEditWindowClass = L"TEditWindow";
inline constexpr const wchar_t* kEditControlClass = L"TEditControl";

// Window properties on the stand-in's top-level window: how many of each edit
// message its control has received so far.
inline constexpr const wchar_t* kPropCopyCount = L"SnipkitE2E.WM_COPY";
inline constexpr const wchar_t* kPropPasteCount = L"SnipkitE2E.WM_PASTE";
inline constexpr const wchar_t* kPropUndoCount = L"SnipkitE2E.WM_UNDO";
inline constexpr const wchar_t* kPropCutCount = L"SnipkitE2E.WM_CUT";
// Pastes the control has finished with. A message sent to the editor while
// it pastes may be answered before the paste is done (the thread answers
// sent messages whenever it waits on another one), so only this count says
// that the text is final.
inline constexpr const wchar_t* kPropPasteDoneCount = L"SnipkitE2E.PastesDone";
// Pastes that found the clipboard held by another program (and so pasted
// nothing), with the holder's window and process id as of the last one.
inline constexpr const wchar_t* kPropBlockedPasteCount = L"SnipkitE2E.BlockedPastes";
inline constexpr const wchar_t* kPropBlockedBy = L"SnipkitE2E.BlockedBy";
inline constexpr const wchar_t* kPropBlockedByPid = L"SnipkitE2E.BlockedByPid";

// When the last WM_COPY and WM_PASTE arrived and the last paste was done:
// the system's performance counter in microseconds, its low 32 bits, so that
// the benchmark can time a cycle without polling for it.
inline constexpr const wchar_t* kPropCopyAt = L"SnipkitE2E.CopyAt";
inline constexpr const wchar_t* kPropPasteAt = L"SnipkitE2E.PasteAt";
inline constexpr const wchar_t* kPropPasteDoneAt = L"SnipkitE2E.PasteDoneAt";

inline unsigned long MicrosecondsNow() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<unsigned long>(static_cast<unsigned long long>(t.QuadPart) * 1000000ull /
                                      static_cast<unsigned long long>(f.QuadPart));
}

// The toolbar's own window.
inline constexpr const wchar_t* kToolbarClass = L"TForm1";
inline constexpr const wchar_t* kToolbarCaption = L"Delphi Snipkit";

}  // namespace e2e
