// A form's layout as text, compared with a committed file: the windows'
// tree with their classes, ids, texts, rectangles and style bits, so that a
// change of layout shows as the diff of one data file.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "steps.h"

namespace e2e {
namespace {

// Style bits by name, each group written once as the names themselves:
// either bits of their own, or the values a field under a mask can take (a
// button's type, an edit's alignment).
struct Names {
    DWORD mask;         // 0: each value is a bit of its own
    const char* names;  // the values' names as written, ", " between them
    std::vector<DWORD> values;
};

#define SNIPKIT_E2E_BITS(...) Names{0, #__VA_ARGS__, {__VA_ARGS__}}
#define SNIPKIT_E2E_CHOICES(mask, ...) Names{mask, #__VA_ARGS__, {__VA_ARGS__}}

const std::vector<Names> kWindowBits = {
    SNIPKIT_E2E_BITS(WS_POPUP, WS_CHILD, WS_MINIMIZE, WS_VISIBLE, WS_DISABLED, WS_CLIPSIBLINGS, WS_CLIPCHILDREN,
                     WS_MAXIMIZE),
    SNIPKIT_E2E_CHOICES(WS_CAPTION, WS_CAPTION, WS_BORDER, WS_DLGFRAME),
    SNIPKIT_E2E_BITS(WS_VSCROLL, WS_HSCROLL, WS_SYSMENU, WS_THICKFRAME),
};
// The same two bits mean one thing on a control and another on a frame.
const std::vector<Names> kControlBits = {SNIPKIT_E2E_BITS(WS_GROUP, WS_TABSTOP)};
const std::vector<Names> kFrameBits = {SNIPKIT_E2E_BITS(WS_MINIMIZEBOX, WS_MAXIMIZEBOX)};

const std::vector<Names> kExBits = {SNIPKIT_E2E_BITS(
    WS_EX_DLGMODALFRAME, WS_EX_NOPARENTNOTIFY, WS_EX_TOPMOST, WS_EX_ACCEPTFILES, WS_EX_TRANSPARENT, WS_EX_MDICHILD,
    WS_EX_TOOLWINDOW, WS_EX_WINDOWEDGE, WS_EX_CLIENTEDGE, WS_EX_CONTEXTHELP, WS_EX_RIGHT, WS_EX_RTLREADING,
    WS_EX_LEFTSCROLLBAR, WS_EX_CONTROLPARENT, WS_EX_STATICEDGE, WS_EX_APPWINDOW, WS_EX_LAYERED, WS_EX_NOINHERITLAYOUT,
    WS_EX_LAYOUTRTL, WS_EX_COMPOSITED, WS_EX_NOACTIVATE)};

enum class Kind { Other, Button, Edit, Static, ListBox, UpDown };

// The bits of the low word, by class.
const std::vector<Names>& ClassBits(Kind kind) {
    static const std::vector<Names> button = {
        SNIPKIT_E2E_CHOICES(BS_TYPEMASK, BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_CHECKBOX, BS_AUTOCHECKBOX, BS_RADIOBUTTON,
                            BS_3STATE, BS_AUTO3STATE, BS_GROUPBOX, BS_USERBUTTON, BS_AUTORADIOBUTTON, BS_PUSHBOX,
                            BS_OWNERDRAW),
        SNIPKIT_E2E_BITS(BS_LEFTTEXT, BS_ICON, BS_BITMAP),
        SNIPKIT_E2E_CHOICES(BS_CENTER, BS_LEFT, BS_RIGHT, BS_CENTER),
        SNIPKIT_E2E_CHOICES(BS_VCENTER, BS_TOP, BS_BOTTOM, BS_VCENTER),
        SNIPKIT_E2E_BITS(BS_PUSHLIKE, BS_MULTILINE, BS_NOTIFY, BS_FLAT),
    };
    static const std::vector<Names> edit = {
        SNIPKIT_E2E_CHOICES(ES_CENTER | ES_RIGHT, ES_CENTER, ES_RIGHT),
        SNIPKIT_E2E_BITS(ES_MULTILINE, ES_UPPERCASE, ES_LOWERCASE, ES_PASSWORD, ES_AUTOVSCROLL, ES_AUTOHSCROLL,
                         ES_NOHIDESEL, ES_OEMCONVERT, ES_READONLY, ES_WANTRETURN, ES_NUMBER),
    };
    static const std::vector<Names> label = {
        SNIPKIT_E2E_CHOICES(SS_TYPEMASK, SS_LEFT, SS_CENTER, SS_RIGHT, SS_ICON, SS_BLACKRECT, SS_GRAYRECT, SS_WHITERECT,
                            SS_BLACKFRAME, SS_GRAYFRAME, SS_WHITEFRAME, SS_USERITEM, SS_SIMPLE, SS_LEFTNOWORDWRAP,
                            SS_OWNERDRAW, SS_BITMAP, SS_ENHMETAFILE, SS_ETCHEDHORZ, SS_ETCHEDVERT, SS_ETCHEDFRAME),
        SNIPKIT_E2E_BITS(SS_REALSIZECONTROL, SS_NOPREFIX, SS_NOTIFY, SS_CENTERIMAGE, SS_RIGHTJUST, SS_REALSIZEIMAGE,
                         SS_SUNKEN, SS_EDITCONTROL),
        SNIPKIT_E2E_CHOICES(SS_ELLIPSISMASK, SS_ENDELLIPSIS, SS_PATHELLIPSIS, SS_WORDELLIPSIS),
    };
    static const std::vector<Names> list = {SNIPKIT_E2E_BITS(
        LBS_NOTIFY, LBS_SORT, LBS_NOREDRAW, LBS_MULTIPLESEL, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE, LBS_HASSTRINGS,
        LBS_USETABSTOPS, LBS_NOINTEGRALHEIGHT, LBS_MULTICOLUMN, LBS_WANTKEYBOARDINPUT, LBS_EXTENDEDSEL,
        LBS_DISABLENOSCROLL, LBS_NODATA, LBS_NOSEL)};
    static const std::vector<Names> arrows = {SNIPKIT_E2E_BITS(UDS_WRAP, UDS_SETBUDDYINT, UDS_ALIGNRIGHT, UDS_ALIGNLEFT,
                                                               UDS_AUTOBUDDY, UDS_ARROWKEYS, UDS_HORZ, UDS_NOTHOUSANDS,
                                                               UDS_HOTTRACK)};
    static const std::vector<Names> none;
    switch (kind) {
        case Kind::Button:
            return button;
        case Kind::Edit:
            return edit;
        case Kind::Static:
            return label;
        case Kind::ListBox:
            return list;
        case Kind::UpDown:
            return arrows;
        case Kind::Other:
            break;
    }
    return none;
}

#undef SNIPKIT_E2E_BITS
#undef SNIPKIT_E2E_CHOICES

Kind KindOf(HWND w) {
    const std::wstring cls = ClassOf(w);
    auto is = [&](const wchar_t* name) { return _wcsicmp(cls.c_str(), name) == 0; };
    if (is(L"Button")) return Kind::Button;
    if (is(L"Edit")) return Kind::Edit;
    if (is(L"Static")) return Kind::Static;
    if (is(L"ListBox")) return Kind::ListBox;
    if (is(UPDOWN_CLASSW)) return Kind::UpDown;
    return Kind::Other;
}

// Names the bits of the groups that are set and clears them from bits.
void Name(const std::vector<Names>& groups, DWORD& bits, std::string& out) {
    for (const Names& group : groups) {
        const std::string names = group.names;
        std::size_t from = 0;
        const DWORD all = bits;
        for (DWORD value : group.values) {
            const std::size_t comma = names.find(", ", from);
            const std::string name = names.substr(from, comma - from);
            from = comma == std::string::npos ? names.size() : comma + 2;
            const bool set = group.mask == 0 ? value != 0 && (all & value) == value : (all & group.mask) == value;
            if (set) {
                out += " " + name;
                bits &= ~(group.mask == 0 ? value : group.mask);
            }
        }
    }
}

std::string Hex(DWORD v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%lX", static_cast<unsigned long>(v));
    return buf;
}

std::string StyleNames(HWND w, Kind kind) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
    DWORD high = style & 0xFFFF0000u;
    DWORD low = style & 0xFFFFu;
    std::string out;
    Name(kWindowBits, high, out);
    Name((style & WS_CHILD) ? kControlBits : kFrameBits, high, out);
    Name(ClassBits(kind), low, out);
    if (high | low) out += " " + Hex(high | low);

    DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE));
    std::string exNames;
    Name(kExBits, ex, exNames);
    if (ex) exNames += " " + Hex(ex);
    if (!exNames.empty()) out += ";" + exNames;
    return out;
}

// What a control holds that its style does not tell.
std::string State(HWND w, Kind kind) {
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    switch (kind) {
        case Kind::Edit:
            return "; limit " + std::to_string(static_cast<unsigned long long>(SendWithin(w, EM_GETLIMITTEXT)));
        case Kind::Button: {
            const LONG_PTR type = style & BS_TYPEMASK;
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_GROUPBOX || type == BS_OWNERDRAW ||
                type == BS_PUSHBOX || type == BS_USERBUTTON) {
                return "";
            }
            const LRESULT check = SendWithin(w, BM_GETCHECK);
            return check == BST_CHECKED ? "; checked" : check == BST_INDETERMINATE ? "; indeterminate" : "; unchecked";
        }
        case Kind::Static: {
            const LONG_PTR type = style & SS_TYPEMASK;
            if (type == SS_BITMAP) return SendWithin(w, STM_GETIMAGE, IMAGE_BITMAP) ? "; image" : "; no image";
            if (type == SS_ICON) return SendWithin(w, STM_GETICON) ? "; image" : "; no image";
            return "";
        }
        case Kind::UpDown: {
            const HWND buddy = reinterpret_cast<HWND>(SendWithin(w, UDM_GETBUDDY));
            const LRESULT range = SendWithin(w, UDM_GETRANGE);
            return "; buddy " + (buddy ? "#" + std::to_string(GetDlgCtrlID(buddy)) : std::string("none")) +
                   "; range " + std::to_string(static_cast<short>(HIWORD(range))) + ".." +
                   std::to_string(static_cast<short>(LOWORD(range)));
        }
        case Kind::ListBox:
        case Kind::Other:
            return "";
    }
    return "";
}

void AddTree(HWND w, int depth, std::vector<HWND>& all, std::string& out) {
    const Kind kind = KindOf(w);
    std::string line(static_cast<std::size_t>(depth) * 2, ' ');
    line += ToUtf8(ClassOf(w));
    if (depth == 0) {
        RECT outer{};
        GetWindowRect(w, &outer);
        const SIZE client = ClientSize(w);
        line += " " + Show(TextOf(w)) + " " + RectText(outer) + " client " + std::to_string(client.cx) + "x" +
                std::to_string(client.cy);
        if (GetMenu(w) != nullptr) line += " menu bar";
    } else {
        line += " #" + std::to_string(GetDlgCtrlID(w)) + " " + Show(TextOf(w)) + " " +
                RectText(RectIn(w, GetParent(w)));
    }
    out += line + ";" + StyleNames(w, kind) + State(w, kind) + "\n";
    all.push_back(w);
    for (HWND c : ChildrenOf(w)) AddTree(c, depth + 1, all, out);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The lines that differ, with one line of context around each change.
std::string LineDiff(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    // Longest common subsequence, from the ends.
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    struct Op {
        char sign;
        const std::string* line;
    };
    std::vector<Op> ops;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[i] == b[j]) {
            ops.push_back({' ', &a[i++]});
            ++j;
        } else if (j < m && (i == n || common[i][j + 1] > common[i + 1][j])) {
            ops.push_back({'+', &b[j++]});
        } else {
            ops.push_back({'-', &a[i++]});
        }
    }
    std::string out;
    bool skipped = false;
    for (std::size_t k = 0; k < ops.size(); ++k) {
        auto changed = [&](std::size_t at) { return at < ops.size() && ops[at].sign != ' '; };
        const bool nearChange = changed(k) || (k > 0 && changed(k - 1)) || changed(k + 1);
        if (!nearChange) {
            skipped = true;
            continue;
        }
        if (skipped) out += "        ...\n";
        skipped = false;
        out += std::string("      ") + ops[k].sign + " " + *ops[k].line + "\n";
    }
    if (skipped) out += "        ...\n";
    return out;
}

}  // namespace

std::string LayoutOf(HWND w) {
    std::vector<HWND> all;
    std::string out;
    AddTree(w, 0, all, out);

    std::string tabs;
    const HWND first = GetNextDlgTabItem(w, nullptr, FALSE);
    HWND at = first;
    for (std::size_t k = 0; at != nullptr && k < all.size(); ++k) {
        tabs += " #" + std::to_string(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(w, at, FALSE);
        if (at == first) break;
    }
    out += "tab order:" + (tabs.empty() ? std::string(" none") : tabs) + "\n";

    std::string defaults;
    for (HWND c : all) {
        if (KindOf(c) == Kind::Button && (GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            defaults += " #" + std::to_string(GetDlgCtrlID(c));
        }
    }
    out += "default button:" + (defaults.empty() ? std::string(" none") : defaults) + "\n";
    return out;
}

bool ExpectLayout(Run& run, const std::string& form, const std::string& layout) {
    const std::string committedName = "tests/e2e/layouts/" + form + ".txt";
    const std::optional<std::string> committed =
        ReadFileBytes(run.config().repoRoot + L"\\tests\\e2e\\layouts\\" + FromUtf8(form) + L".txt");
    const std::vector<std::string> expected = committed ? Lines(*committed) : std::vector<std::string>{};
    const std::vector<std::string> actual = Lines(layout);
    if (committed && expected == actual) return true;

    const std::wstring shown = run.dir() + L"\\" + FromUtf8(form) + L".txt";
    std::string what = committed ? "the layout of " + form + " differs from " + committedName +
                                       " (- committed, + as shown):\n" + LineDiff(expected, actual)
                                 : "there is no " + committedName + " to compare the layout of " + form + " with\n";
    if (WriteFileBytes(shown, layout)) what += "      as shown now: " + UnixPath(run, shown);
    return run.Expect(false, what);
}

}  // namespace e2e
