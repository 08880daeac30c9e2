// Message hook library of the test driver, loaded into the toolbar's thread
// while the driver reads an open popup menu (see menu_dump.h).
#include <windows.h>

#include <cstring>
#include <string>

#include "../menu_dump.h"

namespace {

using namespace e2e::menudump;

std::string Utf8(const wchar_t* text, int len) {
    if (len <= 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, len, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, len, out.data(), n, nullptr, nullptr);
    return out;
}

void DumpMenu(HMENU menu, int depth, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[512] = {};
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        mi.dwTypeData = caption;
        mi.cch = 511;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
        const char* kind = (mi.fType & MFT_SEPARATOR) ? "separator" : mi.hSubMenu ? "submenu" : "item";
        out += std::to_string(depth) + "\t" + kind + "\t" + std::to_string(mi.wID) + "\t" +
               ((mi.fState & MFS_CHECKED) ? "1" : "0") + "\t" + ((mi.fState & MFS_GRAYED) ? "1" : "0") + "\t" +
               Utf8(caption, static_cast<int>(wcslen(caption))) + "\n";
        if (mi.hSubMenu) DumpMenu(mi.hSubMenu, depth + 1, out);
    }
}

bool IsSubmenuOf(HMENU inner, HMENU outer) {
    const int count = GetMenuItemCount(outer);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(outer, i);
        if (sub && (sub == inner || IsSubmenuOf(inner, sub))) return true;
    }
    return false;
}

struct OpenMenus {
    HMENU list[16];
    int count = 0;
};

BOOL CALLBACK CollectMenu(HWND w, LPARAM lp) {
    wchar_t cls[32];
    if (!IsWindowVisible(w) || !GetClassNameW(w, cls, 32) || wcscmp(cls, L"#32768") != 0) return TRUE;
    auto* menus = reinterpret_cast<OpenMenus*>(lp);
    HMENU m = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
    if (m && menus->count < 16) menus->list[menus->count++] = m;
    return TRUE;
}

void AnswerRequest(bool closeAfter) {
    OpenMenus menus;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenu, reinterpret_cast<LPARAM>(&menus));
    // The root is the open menu that is no other open menu's submenu.
    HMENU root = nullptr;
    for (int i = 0; i < menus.count && !root; ++i) {
        bool inner = false;
        for (int j = 0; j < menus.count; ++j) {
            if (i != j && IsSubmenuOf(menus.list[i], menus.list[j])) inner = true;
        }
        if (!inner) root = menus.list[i];
    }
    std::string text;
    if (root) DumpMenu(root, 0, text);

    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kMappingName);
    if (mapping) {
        if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kMappingSize)) {
            const size_t n = text.size() < kMappingSize - 1 ? text.size() : kMappingSize - 1;
            std::memcpy(view, text.data(), n);
            static_cast<char*>(view)[n] = '\0';
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    if (closeAfter && root) EndMenu();
    if (HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kDoneEventName)) {
        SetEvent(done);
        CloseHandle(done);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK SnipkitE2EGetMsgHook(int code, WPARAM wp, LPARAM lp) {
    static const UINT request = RegisterWindowMessageW(kRequestMessage);
    if (code == HC_ACTION && wp == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lp);
        if (msg->message == request) {
            const bool closeAfter = msg->wParam == kCloseAfterDump;
            // The program itself never sees the request.
            msg->message = WM_NULL;
            AnswerRequest(closeAfter);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK SnipkitE2ETickHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE) {
        const MSG* msg = reinterpret_cast<const MSG*>(lp);
        // Opened once per thread: the mapping outlives every message.
        static thread_local volatile LONG* counts = [] {
            const std::wstring name = kTickMappingPrefix + std::to_wstring(GetCurrentThreadId());
            HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str());
            void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kTickCounters * sizeof(LONG)) : nullptr;
            return static_cast<volatile LONG*>(view);
        }();
        wchar_t cls[16];
        if (counts && msg->message == WM_TIMER && msg->hwnd && GetClassNameW(msg->hwnd, cls, 16) &&
            wcscmp(cls, kToolbarWindowClass) == 0) {
            InterlockedIncrement(&counts[0]);
        }
        if (counts && msg->message == WM_KEYDOWN) InterlockedIncrement(&counts[1]);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
