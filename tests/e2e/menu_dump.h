// How the driver reads an open popup menu of another process. Menu handles
// cannot be read across processes, so a message hook library is loaded into
// the toolbar's thread; on a request message it writes the open menu, with
// its submenus, into shared memory and signals an event.
#pragma once

namespace e2e::menudump {

inline constexpr const wchar_t* kRequestMessage = L"SnipkitE2E.DumpOpenMenu";
inline constexpr const wchar_t* kMappingName = L"Local\\SnipkitE2E.MenuDump";
inline constexpr const wchar_t* kDoneEventName = L"Local\\SnipkitE2E.MenuDumped";
inline constexpr const char* kHookProcName = "SnipkitE2EGetMsgHook";
inline constexpr unsigned kMappingSize = 1u << 16;

// wParam of the request: close the menu after reading it.
inline constexpr unsigned kCloseAfterDump = 1;

// The mapping holds a NUL-terminated UTF-8 text, one item per line:
//   depth TAB kind TAB id TAB checked TAB grayed TAB caption
// kind is "item", "submenu" or "separator"; a submenu's items follow it with
// depth + 1. An empty text means no open menu was found.

// The same library counts the toolbar's timer ticks, so that the driver
// knows when the toolbar has looked at the foreground window rather than
// waiting a second and hoping, and the keys it takes, so that the driver
// knows a key arrived where nothing visible follows from it. The counts are
// kTickCounters LONGs in a mapping named kTickMappingPrefix + the toolbar
// thread's id, made by the driver: [0] goes up when the thread takes a
// WM_TIMER of its main window from its queue, [1] at every WM_KEYDOWN it takes.
inline constexpr const wchar_t* kTickMappingPrefix = L"Local\\SnipkitE2E.Ticks.";
inline constexpr const char* kTickHookProcName = "SnipkitE2ETickHook";
inline constexpr const wchar_t* kToolbarWindowClass = L"TForm1";
inline constexpr unsigned kTickCounters = 2;

}  // namespace e2e::menudump
