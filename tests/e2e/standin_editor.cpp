// A stand-in for the IDE's code editor: a top-level "TEditWindow" holding one
// "TEditControl", which is the system EDIT control under another class name,
// so WM_PASTE and WM_UNDO behave exactly as in a real edit control; WM_COPY
// is done here, as Windows' edit control does it (see CopySelection).
//
//   standin_editor.exe [--pos X,Y,W,H] [--caption TEXT] [--before CLASS]... [--nest] [FILE]
//
// FILE is read as UTF-8 and shown as is (CR LF kept). --before puts a plain
// child window of the given class ahead of the control among the window's
// children (class names are matched without regard to case when registered,
// so a decoy cannot differ from "TEditControl" in case alone); --nest puts the control one level down, inside a panel, where an
// editor search that looks only at direct children does not find it. The editor counts the
// edit messages its control receives and publishes the counts as window
// properties of the top-level window, so the test driver can tell when the
// toolbar has talked to it.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "e2e_protocol.h"

#include "ui/wide_win.h"

namespace {

HWND g_frame = nullptr;
HWND g_host = nullptr;  // the control's parent: the frame, or the panel with --nest
HWND g_edit = nullptr;
WNDPROC g_editProc = nullptr;
HFONT g_font = nullptr;

void Stamp(const wchar_t* prop) {
    SetPropW(g_frame, prop, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(e2e::MicrosecondsNow())));
}

void Bump(const wchar_t* prop) {
    const auto n = reinterpret_cast<UINT_PTR>(GetPropW(g_frame, prop));
    SetPropW(g_frame, prop, reinterpret_cast<HANDLE>(n + 1));
}

// The copy as Windows' edit control makes it: the control opens the clipboard
// itself and copies nothing when another program holds it. (Wine's EDIT sets
// the data even then, which would hide a copy lost to a busy clipboard.)
void CopySelection(HWND hwnd) {
    DWORD start = 0, end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (end <= start) return;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    if (end > text.size()) return;
    const std::wstring selected = text.substr(start, end - start);
    const size_t bytes = (selected.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return;
    if (void* p = GlobalLock(block)) {
        memcpy(p, selected.c_str(), bytes);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(hwnd)) {
        GlobalFree(block);
        return;
    }
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    CloseClipboard();
}

// The paste stays EDIT's own, but the clipboard is opened for it here first:
// when another program holds it the control pastes nothing, as on Windows,
// and who held it is kept for the driver's report. EDIT's own open is then
// the same window's second one, which succeeds, and its close ends both.
LRESULT Paste(HWND hwnd, WPARAM wp, LPARAM lp) {
    if (!OpenClipboard(hwnd)) {
        HWND holder = GetOpenClipboardWindow();
        DWORD pid = 0;
        if (holder != nullptr) GetWindowThreadProcessId(holder, &pid);
        SetPropW(g_frame, e2e::kPropBlockedBy, holder);
        SetPropW(g_frame, e2e::kPropBlockedByPid, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(pid)));
        Bump(e2e::kPropBlockedPasteCount);
        Bump(e2e::kPropPasteDoneCount);
        return 0;
    }
    const LRESULT result = CallWindowProcW(g_editProc, hwnd, WM_PASTE, wp, lp);
    CloseClipboard();
    Stamp(e2e::kPropPasteDoneAt);
    Bump(e2e::kPropPasteDoneCount);
    return result;
}

// Counts what arrives and hands everything on to the EDIT code unchanged,
// except the copy and the paste's opening of the clipboard.
LRESULT CALLBACK CountingEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COPY:
            Stamp(e2e::kPropCopyAt);
            CopySelection(hwnd);
            Bump(e2e::kPropCopyCount);
            return 0;
        case WM_PASTE:
            Stamp(e2e::kPropPasteAt);
            Bump(e2e::kPropPasteCount);
            return Paste(hwnd, wp, lp);
        case WM_UNDO: Bump(e2e::kPropUndoCount); break;
        case WM_CUT: Bump(e2e::kPropCutCount); break;
        default: break;
    }
    return CallWindowProcW(g_editProc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE && hwnd == g_host && g_edit) {
        MoveWindow(g_edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterPlainClass(HINSTANCE inst, const wchar_t* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(inst, name, &wc)) return true;
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            if (g_host) MoveWindow(g_host == hwnd ? g_edit : g_host, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (g_edit) SetFocus(g_edit);
            return 0;
        case WM_DESTROY:
            for (const wchar_t* p : {e2e::kPropCopyCount, e2e::kPropPasteCount, e2e::kPropUndoCount,
                                     e2e::kPropCutCount, e2e::kPropPasteDoneCount, e2e::kPropBlockedPasteCount, e2e::kPropBlockedBy,
                                     e2e::kPropBlockedByPid, e2e::kPropCopyAt, e2e::kPropPasteAt, e2e::kPropPasteDoneAt}) {
                RemovePropW(hwnd, p);
            }
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

bool ReadUtf8File(const std::wstring& path, std::wstring& out) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(f);
    out = snipkit::Utf8ToWide(bytes);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int show) {
    int x = 300, y = 40, w = 700, h = 600;
    std::wstring caption = L"Unit1.pas";
    std::wstring file;
    std::vector<std::wstring> before;
    bool nest = false;

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--pos" && i + 1 < argc) {
            if (swscanf(argv[++i], L"%d,%d,%d,%d", &x, &y, &w, &h) != 4) {
                MessageBoxW(nullptr, L"--pos wants X,Y,W,H", L"standin_editor", MB_OK);
                return 2;
            }
        } else if (a == L"--caption" && i + 1 < argc) {
            caption = argv[++i];
        } else if (a == L"--before" && i + 1 < argc) {
            before.emplace_back(argv[++i]);
        } else if (a == L"--nest") {
            nest = true;
        } else {
            file = a;
        }
    }
    LocalFree(argv);

    std::wstring text;
    if (!file.empty()) {
        if (!ReadUtf8File(file, text)) {
            MessageBoxW(nullptr, (L"Cannot read " + file).c_str(), L"standin_editor", MB_OK);
            return 1;
        }
        if (caption == L"Unit1.pas") {
            const size_t slash = file.find_last_of(L"\\/");
            caption = slash == std::wstring::npos ? file : file.substr(slash + 1);
        }
    }

    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = inst;
    frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frame.lpszClassName = e2e::kEditWindowClass;
    if (!RegisterClassExW(&frame)) return 1;

    // A superclass of EDIT: same window procedure, the IDE's class name.
    WNDCLASSEXW edit{};
    edit.cbSize = sizeof edit;
    if (!GetClassInfoExW(nullptr, L"EDIT", &edit)) return 1;
    edit.hInstance = inst;
    edit.lpszClassName = e2e::kEditControlClass;
    if (!RegisterClassExW(&edit)) return 1;

    g_frame = CreateWindowExW(0, e2e::kEditWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, x, y, w, h,
                              nullptr, nullptr, inst, nullptr);
    if (!g_frame) return 1;
    for (const wchar_t* p : {e2e::kPropCopyCount, e2e::kPropPasteCount, e2e::kPropUndoCount,
                             e2e::kPropCutCount}) {
        SetPropW(g_frame, p, nullptr);
    }

    RECT rc;
    GetClientRect(g_frame, &rc);
    g_host = g_frame;
    if (nest) {
        if (!RegisterPlainClass(inst, L"TPanel")) return 1;
        g_host = CreateWindowExW(0, L"TPanel", L"", WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom, g_frame,
                                 reinterpret_cast<HMENU>(2), inst, nullptr);
        if (!g_host) return 1;
    }
    g_edit = CreateWindowExW(WS_EX_CLIENTEDGE, e2e::kEditControlClass, L"",
                             WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL |
                                 ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                             0, 0, rc.right, rc.bottom, g_host, reinterpret_cast<HMENU>(1), inst, nullptr);
    if (!g_edit) return 1;
    // Decoys go first in the child order, which is the order a search walks.
    int decoyId = 10;
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        if (!RegisterPlainClass(inst, it->c_str())) return 1;
        HWND decoy = CreateWindowExW(0, it->c_str(), L"", WS_CHILD, 0, 0, 10, 10, g_frame,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(decoyId++)), inst, nullptr);
        if (!decoy) return 1;
        SetWindowPos(decoy, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingEditProc)));

    g_font = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    if (g_font) SendMessageW(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
    SendMessageW(g_edit, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(g_edit, text.c_str());

    ShowWindow(g_frame, show == SW_HIDE ? SW_SHOWNORMAL : show);
    UpdateWindow(g_frame);
    SetFocus(g_edit);

    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    if (g_font) DeleteObject(g_font);
    return 0;
}
