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

}  // namespace e2e::menudump
