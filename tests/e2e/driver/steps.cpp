#include "steps.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../e2e_protocol.h"
#include "../menu_dump.h"
#include "ui/wide_win.h"

namespace e2e {

// ---------------------------------------------------------------- text

std::string ToUtf8(std::wstring_view text) { return snipkit::WideToUtf8(text); }

std::wstring FromUtf8(std::string_view text) { return snipkit::Utf8ToWide(text); }

int Utf16Length(const std::string& utf8) { return static_cast<int>(FromUtf8(utf8).size()); }

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : " ") + p;
    return out;
}

// The lines are long on purpose: the edit control's cost grows with the
// number of lines, and 10 MB of short lines would take it minutes to lay
// out under Wine.
std::string UnitText(std::size_t bytes) {
    std::string s = "implementation";
    std::string words;
    for (int i = 0; words.size() < 3000; ++i) words += i % 7 ? "Grüße café " : "Ω x_Max2 [@`] {a} ";
    for (unsigned n = 0; s.size() < bytes; ++n) {
        const std::string k = std::to_string(n);
        s += "\r\n\r\nprocedure TForm" + k + ".Run" + k + "(const S: string);\r\nbegin\r\n  Log('" + k + ": " + words +
             "');\r\n\tx_Max" + k + " := " + k + " * 2;  { tab }\r\n// " + words.substr(0, 900) + "\r\n  if A[" + k +
             "] <> B then\r\n    WriteLn('" + words.substr(0, 1500) + "');\r\nend;";
    }
    return s;
}

namespace {

std::string Narrow(const std::wstring& w) { return ToUtf8(w); }

LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT flags, DWORD timeoutMs, bool* answered) {
    DWORD_PTR result = 0;
    const bool sent = SendMessageTimeoutW(w, msg, wp, lp, flags, timeoutMs, &result) != 0;
    if (answered) *answered = sent;
    return sent ? static_cast<LRESULT>(result) : 0;
}

}  // namespace

LRESULT SendWithin(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return Send(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, nullptr);
}

LRESULT SendPatiently(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs, bool* answered) {
    return Send(w, msg, wp, lp, SMTO_NORMAL, timeoutMs, answered);
}

namespace {

void SetTextOf(HWND w, const std::string& utf8) {
    const std::wstring text = FromUtf8(utf8);
    SendWithin(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Any descendant with this control id: controls often sit on a panel or in a
// group box rather than on the form itself.
HWND FindDescendantById(HWND parent, int id) {
    for (HWND c : ChildrenOf(parent)) {
        if (GetDlgCtrlID(c) == id) return c;
        if (HWND d = FindDescendantById(c, id)) return d;
    }
    return nullptr;
}

// The window with the keyboard focus in w's thread, read from outside it.
HWND FocusIn(HWND w) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Screen point at the middle of a control.
POINT CentreOf(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    POINT p{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
    ClientToScreen(control, &p);
    return p;
}

}  // namespace

// ---------------------------------------------------------------- files

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);
    return ok && put == bytes.size();
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string s;
    std::vector<char> buf(65536);
    DWORD got = 0;
    while (ReadFile(f, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr) && got > 0) s.append(buf.data(), got);
    CloseHandle(f);
    return s;
}

void PutFile(Run& run, const std::wstring& path, const std::string& bytes, DWORD attributes) {
    run.Require(WriteFileBytes(path, bytes), "the driver can write " + Narrow(path));
    if (attributes != 0) {
        run.Require(SetFileAttributesW(path.c_str(), attributes) != 0, "attributes of " + Narrow(path));
    }
}

bool IsDirectory(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> EntriesOf(const std::wstring& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring n = fd.cFileName;
            if (n != L"." && n != L"..") names.push_back(ToUtf8(n));
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// ---------------------------------------------------------------- time

void Trace(const std::string& what) {
    static const bool on = GetEnvironmentVariableW(L"SNIPKIT_E2E_TRACE", nullptr, 0) > 0;
    static const DWORD t0 = GetTickCount();
    if (on) std::printf("      [%6.2f] %s\n", (GetTickCount() - t0) / 1000.0, what.c_str());
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= timeoutMs) return cond();
        Pump(pollMs);
    }
}

// ---------------------------------------------------------------- processes

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        if (handle_) CloseHandle(handle_);
        handle_ = o.handle_;
        pid_ = o.pid_;
        label_ = std::move(o.label_);
        o.handle_ = nullptr;
        o.pid_ = 0;
    }
    return *this;
}

Process::~Process() {
    if (handle_) CloseHandle(handle_);
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::WaitExit(DWORD timeoutMs) const {
    if (!handle_) return true;
    return WaitUntil([&] { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

bool Process::CloseWindows(DWORD timeoutMs) const {
    for (HWND w : TopWindowsOf(pid_, false)) PostMessageW(w, WM_CLOSE, 0, 0);
    return WaitExit(timeoutMs);
}

void Process::Terminate() const {
    if (handle_) TerminateProcess(handle_, 1);
}

Process Launch(Run& run, const std::wstring& exe, const std::vector<std::wstring>& args, const std::wstring& cwd,
               const std::string& label) {
    std::wstring cmd = L"\"" + exe + L"\"";
    for (const std::wstring& a : args) cmd += L" \"" + a + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> buf(cmd.begin(), cmd.end());
    buf.push_back(L'\0');
    if (!CreateProcessW(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
        run.Fail("cannot start " + label + " (" + Narrow(exe) + "), error " + std::to_string(GetLastError()));
    }
    CloseHandle(pi.hThread);
    Trace("started " + label);
    return Process(pi.hProcess, pi.dwProcessId, label);
}

// ---------------------------------------------------------------- windows

std::wstring ClassOf(HWND w) {
    wchar_t buf[256];
    const int n = GetClassNameW(w, buf, 256);
    return n > 0 ? std::wstring(buf, static_cast<size_t>(n)) : std::wstring();
}

std::string TextOf(HWND w) {
    const LRESULT len = SendWithin(w, WM_GETTEXTLENGTH, 0, 0);
    if (len <= 0) return {};
    std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
    const LRESULT got = SendWithin(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(got > 0 ? got : 0));
    return ToUtf8(buf);
}

DWORD ProcessOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

namespace {

struct TopEnum {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM lp) {
    auto* e = reinterpret_cast<TopEnum*>(lp);
    if (ProcessOf(w) == e->pid && (!e->visibleOnly || IsWindowVisible(w))) e->found.push_back(w);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid, bool visibleOnly) {
    TopEnum e{pid, visibleOnly, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&e));
    return e.found;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

HWND FindTopWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption) {
    for (HWND w : TopWindowsOf(pid)) {
        if (cls && ClassOf(w) != cls) continue;
        if (caption && TextOf(w) != Narrow(caption)) continue;
        return w;
    }
    return nullptr;
}

HWND WaitTopWindow(Run& run, DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs,
                   const std::string& what) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(pid, cls, caption)) != nullptr; }, timeoutMs);
    if (!found) run.Fail("no " + what + " appeared within " + std::to_string(timeoutMs) + " ms");
    Trace(what + " is there");
    return found;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

RECT RectIn(HWND w, HWND container) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return {r.right, r.bottom};
}

bool WaitHidden(HWND w, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindowVisible(w); }, timeoutMs);
}

namespace {

std::string ProcessName(int pid);

}  // namespace

std::string Describe(HWND w) {
    if (w == nullptr) return "no window";
    const DWORD pid = ProcessOf(w);
    return Narrow(ClassOf(w)) + " " + Show(TextOf(w)) + " of process " + std::to_string(pid) + " (" +
           ProcessName(static_cast<int>(pid)) + ")";
}

void BringToFront(Run& run, HWND w) {
    const bool ok = WaitUntil(
        [&] {
            if (GetForegroundWindow() == w) return true;
            SetForegroundWindow(w);
            return GetForegroundWindow() == w;
        },
        kDefaultTimeout, 100);
    if (!ok) {
        run.Fail("could not bring " + Describe(w) + " to the foreground; in front is " +
                 Describe(GetForegroundWindow()));
    }
}

void LetToolbarSee(Run& run, HWND w, int attempts) {
    // A tick is due every second; a loaded machine may delay one, not three.
    constexpr DWORD kTickTimeout = 5000;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        BringToFront(run, w);
        Trace("in front: " + Narrow(ClassOf(w)));
        bool stayed = true;
        bool ticked = true;
        for (const Run::Ticker& t : run.tickers()) {
            if (!IsWindow(t.window)) continue;
            const LONG before = *t.ticks;
            ticked = WaitUntil(
                [&] {
                    stayed = GetForegroundWindow() == w;
                    return !stayed || *t.ticks > before;
                },
                kTickTimeout, 10);
            if (!stayed || !ticked) break;
            // The tick was taken from the queue after w came to the front;
            // the answer to a sent message means its handler has finished.
            SendWithin(t.window, WM_NULL);
            if (!(stayed = GetForegroundWindow() == w)) break;
        }
        if (run.tickers().empty()) {
            // No toolbar of the scenario's to ask: a whole tick's time with w in front.
            WaitUntil([&] { return !(stayed = GetForegroundWindow() == w); }, kTimerTickWait);
        }
        if (!ticked) run.Fail("the toolbar's timer did not tick within " + std::to_string(kTickTimeout) + " ms");
        if (stayed) return;
        Trace("left the front: " + Narrow(ClassOf(w)) + "; in front " + Describe(GetForegroundWindow()));
    }
    run.Fail("the window " + Describe(w) + " did not stay in front for a timer tick; in front is " +
             Describe(GetForegroundWindow()));
}

// ---------------------------------------------------------------- dialogs

HWND Dialog::Ctl(int id) const {
    HWND c = FindDescendantById(hwnd, id);
    if (c == nullptr) run->Fail(Narrow(ClassOf(hwnd)) + " has no control " + std::to_string(id));
    return c;
}

std::string Dialog::Field(int id) const { return TextOf(Ctl(id)); }

void Dialog::Type(int id, const std::string& text) const {
    SetTextOf(Ctl(id), text);
    run->Require(Field(id) == text, "control " + std::to_string(id) + " took the text " + Show(text));
}

bool Dialog::Ticked(int id) const { return SendWithin(Ctl(id), BM_GETCHECK) == BST_CHECKED; }

void Dialog::Click(int id) const { PostMessageW(Ctl(id), BM_CLICK, 0, 0); }

void Dialog::ClickInto(int id) const {
    const HWND c = Ctl(id);
    ClickScreen(*run, hwnd, CentreOf(c));
    run->Require(WaitUntil([&] { return FocusIn(hwnd) == c; }, kDefaultTimeout),
                 "the click put the focus into control " + std::to_string(id));
}

void Dialog::Tick(int id, bool on) const {
    if (Ticked(id) == on) return;
    Click(id);
    if (!WaitUntil([&] { return Ticked(id) == on; }, kDefaultTimeout)) {
        run->Fail("the check box " + Show(Field(id)) + " did not change");
    }
}

void Dialog::Pick(int radio) const {
    Click(radio);
    if (!WaitUntil([&] { return Ticked(radio); }, kDefaultTimeout)) {
        run->Fail("the radio button " + Show(Field(radio)) + " was not selected");
    }
}

void Dialog::Close(int buttonId, DWORD timeoutMs) const {
    Click(buttonId);
    WaitClosed("button " + std::to_string(buttonId), timeoutMs);
}

void Dialog::WaitClosed(const std::string& after, DWORD timeoutMs) const {
    if (!WaitHidden(hwnd, timeoutMs)) run->Fail(Narrow(ClassOf(hwnd)) + " did not close after " + after);
}

bool Dialog::WaitFocus(int id) const {
    const HWND c = Ctl(id);
    return WaitUntil([&] { return FocusIn(hwnd) == c; }, kDefaultTimeout);
}

bool Dialog::ExpectField(int id, const std::string& expected, const std::string& what) const {
    std::string last;
    if (WaitUntil([&] { return (last = Field(id)) == expected; }, kDefaultTimeout)) return true;
    return run->ExpectEq(what, expected, last);
}

// ---------------------------------------------------------------- the stand-in editor

std::string Editor::Text() const { return TextOf(control); }

void Editor::SetText(const std::string& utf8) const {
    SetTextOf(control, utf8);
    SendWithin(control, EM_EMPTYUNDOBUFFER);
}

void Editor::Select(int start, int end) const { SendWithin(control, EM_SETSEL, start, end); }

void Editor::SetAndSelect(const std::string& before, const std::string& selection,
                          const std::string& after) const {
    SetText(before + selection + after);
    Select(Utf16Length(before), Utf16Length(before) + Utf16Length(selection));
}

void Editor::SelectText(Run& run, const std::string& needle) const {
    const std::wstring text = FromUtf8(Text());
    const size_t at = text.find(FromUtf8(needle));
    if (at == std::wstring::npos) run.Fail("the editor holds no " + Show(needle) + " to select");
    Select(static_cast<int>(at), static_cast<int>(at + FromUtf8(needle).size()));
}

void Editor::SelectAll() const { Select(0, -1); }

void Editor::Caret(int pos) const { Select(pos, pos); }

bool Editor::HasFocus() const { return GetForegroundWindow() == frame && FocusIn(frame) == control; }

std::pair<int, int> Editor::Selection() const {
    const LRESULT r = SendWithin(control, EM_GETSEL, 0, 0);
    return {LOWORD(r), HIWORD(r)};
}

namespace {

int Counter(HWND frame, const wchar_t* prop) {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(frame, prop)));
}

std::string ProcessName(int pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (p == nullptr) return "gone";
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool named = QueryFullProcessImageNameW(p, 0, path, &size) != 0;
    CloseHandle(p);
    return named ? Narrow(std::wstring(path, size)) : "unknown";
}

}  // namespace

int Editor::CopyCount() const { return Counter(frame, kPropCopyCount); }
int Editor::PasteCount() const { return Counter(frame, kPropPasteCount); }
int Editor::UndoCount() const { return Counter(frame, kPropUndoCount); }

std::string Editor::PasteTrouble() const {
    const int blocked = Counter(frame, kPropBlockedPasteCount);
    if (blocked == 0) return "";
    const auto holder = static_cast<HWND>(GetPropW(frame, kPropBlockedBy));
    const int pid = Counter(frame, kPropBlockedByPid);
    const std::string who = holder == nullptr ? "a program that opened it without a window"
                                              : "a " + Narrow(ClassOf(holder)) + " window of process " +
                                                    std::to_string(pid) + " (" + ProcessName(pid) + ")";
    return std::to_string(blocked) + " paste(s) found the clipboard held, the last by " + who;
}

void NotePasteTrouble(Run& run, const Editor& editor, const std::string& what) {
    if (const std::string trouble = editor.PasteTrouble(); !trouble.empty()) run.Note(what + ": " + trouble);
}

Editor LaunchEditor(Run& run, const EditorOptions& options) {
    std::wstring file = options.file;
    if (file.empty()) {
        file = run.dir() + L"\\" + options.caption;
        PutFile(run, file, options.text);
    }
    const std::wstring pos = std::to_wstring(options.x) + L"," + std::to_wstring(options.y) + L"," +
                             std::to_wstring(options.width) + L"," + std::to_wstring(options.height);
    std::vector<std::wstring> args{L"--pos", pos, L"--caption", options.caption};
    for (const std::wstring& c : options.childrenBefore) {
        args.push_back(L"--before");
        args.push_back(c);
    }
    if (options.nested) args.push_back(L"--nest");
    args.push_back(file);
    Editor e;
    e.process = &run.Track(Launch(run, run.config().editorExe, args, run.dir(), "the stand-in editor"));
    e.frame = WaitTopWindow(run, e.process->pid(), kEditWindowClass, nullptr, options.timeoutMs, "editor window");
    auto findControl = [&]() -> HWND {
        if (HWND c = FindWindowExW(e.frame, nullptr, kEditControlClass, nullptr)) return c;
        for (HWND child : ChildrenOf(e.frame)) {
            if (HWND c = FindWindowExW(child, nullptr, kEditControlClass, nullptr)) return c;
        }
        return nullptr;
    };
    WaitUntil([&] { return (e.control = findControl()) != nullptr; }, kDefaultTimeout);
    run.Require(e.control != nullptr, "the editor window has its TEditControl");
    return e;
}

std::optional<std::string> BigText(HWND w) {
    bool ok = false;
    const LRESULT length = SendPatiently(w, WM_GETTEXTLENGTH, 0, 0, kBigTimeout, &ok);
    if (!ok) return std::nullopt;
    std::wstring buf(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendPatiently(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), kBigTimeout, &ok);
    if (!ok) return std::nullopt;
    buf.resize(static_cast<std::size_t>(got));
    return ToUtf8(buf);
}

bool WaitPastes(const Editor& editor, int n, DWORD timeoutMs) {
    return WaitUntil([&] { return Counter(editor.frame, kPropPasteDoneCount) >= n; }, timeoutMs, 5);
}

// ---------------------------------------------------------------- the toolbar

void Toolbar::Command(int id) const {
    Trace("command " + std::to_string(id));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

HWND Toolbar::Control(int id) const { return FindDescendantById(window, id); }

RECT Toolbar::OuterRect() const {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT Toolbar::ClientScreenRect() const {
    RECT r{};
    GetClientRect(window, &r);
    POINT tl{0, 0};
    ClientToScreen(window, &tl);
    OffsetRect(&r, tl.x, tl.y);
    return r;
}

LONG_PTR Toolbar::ExStyle() const { return GetWindowLongPtrW(window, GWL_EXSTYLE); }

namespace {

MessageBoxInfo ReadMessageBox(HWND box);

}  // namespace

std::vector<MessageBoxInfo> MessageBoxesOf(DWORD pid) {
    std::vector<MessageBoxInfo> out;
    for (HWND w : TopWindowsOf(pid)) {
        if (ClassOf(w) == L"#32770") out.push_back(ReadMessageBox(w));
    }
    return out;
}

std::vector<MessageBoxInfo> Toolbar::MessageBoxes() const { return MessageBoxesOf(process->pid()); }

MessageBoxInfo Toolbar::WaitMessageBox(Run& run, DWORD timeoutMs) const {
    std::vector<MessageBoxInfo> boxes;
    WaitUntil([&] { return !(boxes = MessageBoxes()).empty(); }, timeoutMs);
    if (boxes.empty()) run.Fail("no message box of the toolbar appeared within " + std::to_string(timeoutMs) + " ms");
    // The text is set before the box shows, but give it a moment to be complete.
    Pump(100);
    Trace("message box " + Show(boxes.front().caption));
    return ReadMessageBox(boxes.front().window);
}

bool Toolbar::NoMessageBoxFor(DWORD ms) const {
    return !WaitUntil([&] { return !MessageBoxes().empty(); }, ms);
}

HWND Toolbar::WaitDialog(Run& run, const wchar_t* cls, DWORD timeoutMs) const {
    return WaitTopWindow(run, process->pid(), cls, nullptr, timeoutMs, "dialog " + Narrow(cls));
}

bool Toolbar::Close(DWORD timeoutMs) const {
    process->ExpectEnd();
    PostMessageW(window, WM_CLOSE, 0, 0);
    return process->WaitExit(timeoutMs);
}

namespace {

// Hooks the toolbar's thread so that LetToolbarSee can wait for its ticks.
void CountTicks(Run& run, const Toolbar& t) {
    using namespace menudump;
    const DWORD thread = GetWindowThreadProcessId(t.window, nullptr);
    const std::wstring name = kTickMappingPrefix + std::to_wstring(thread);
    constexpr DWORD size = kTickCounters * sizeof(LONG);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, size) : nullptr;
    HMODULE dll = LoadLibraryW(run.config().hookDll.c_str());
    auto proc = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, kTickHookProcName)))
                    : nullptr;
    HHOOK hook = proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, dll, thread) : nullptr;
    run.AtCleanup([mapping, view, dll, hook] {
        if (hook) UnhookWindowsHookEx(hook);
        if (view) UnmapViewOfFile(view);
        if (mapping) CloseHandle(mapping);
        if (dll) FreeLibrary(dll);
    });
    run.Require(view != nullptr && hook != nullptr, "the hook that counts the toolbar's timer ticks is in place");
    run.tickers().push_back({t.window, static_cast<volatile LONG*>(view)});
}

}  // namespace

namespace {

volatile LONG* CountersOf(Run& run, const Toolbar& t) {
    for (const Run::Ticker& k : run.tickers()) {
        if (k.window == t.window) return k.ticks;
    }
    run.Fail("the toolbar's ticks are not counted");
}

}  // namespace

long KeysTaken(Run& run, const Toolbar& t) { return CountersOf(run, t)[1]; }
long TicksTaken(Run& run, const Toolbar& t) { return CountersOf(run, t)[0]; }

bool WaitTickAfterNow(Run& run, const Toolbar& t, DWORD timeoutMs) {
    volatile LONG* ticks = CountersOf(run, t);
    const LONG before = ticks[0];
    return WaitUntil([&] { return ticks[0] > before; }, timeoutMs, 10);
}

Toolbar LaunchToolbar(Run& run, const ToolbarOptions& options) {
    Toolbar t;
    t.folder = run.dir() + L"\\app";
    CreateDirectoryW(t.folder.c_str(), nullptr);
    const std::wstring exe = t.folder + L"\\snipkit.exe";
    if (!CopyFileW(run.config().snipkitExe.c_str(), exe.c_str(), FALSE)) {
        run.Fail("cannot copy " + Narrow(run.config().snipkitExe) + " (error " + std::to_string(GetLastError()) + ")");
    }
    if (options.prepare) options.prepare(t.folder);
    t.startedAt = GetTickCount();
    t.process = &run.Track(Launch(run, exe, options.args, options.cwd.empty() ? t.folder : options.cwd, "the toolbar"));
    t.window = WaitTopWindow(run, t.process->pid(), kToolbarClass, nullptr, kDefaultTimeout, "toolbar window");
    t.process->Watch();
    // The toolbar shows before its dialogs exist; like a user's first click,
    // the scenario's first step waits until the message loop reads input.
    WaitForInputIdle(t.process->handle(), kDefaultTimeout);
    CountTicks(run, t);
    return t;
}

Dialog OpenDialog(Run& run, const Toolbar& toolbar, int command, const wchar_t* cls, DWORD timeoutMs) {
    toolbar.Command(command);
    return Dialog{&run, toolbar.WaitDialog(run, cls, timeoutMs)};
}

namespace {

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.window = box;
    info.caption = TextOf(box);
    for (HWND c : ChildrenOf(box)) {
        const std::wstring cls = ClassOf(c);
        const int id = GetDlgCtrlID(c);
        if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            if (IsWindowVisible(c)) info.buttons.emplace_back(id, TextOf(c));
        } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON) {
                if (IsWindowVisible(c) && SendWithin(c, STM_GETICON, 0, 0) != 0) info.hasIcon = true;
            } else {
                const std::string t = TextOf(c);
                if (!t.empty() && info.text.empty()) info.text = t;
            }
        }
    }
    return info;
}

}  // namespace

void Dismiss(Run& run, HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    run.Require(button != nullptr, "the window has a button with id " + std::to_string(buttonId));
    PostMessageW(button, BM_CLICK, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kDefaultTimeout)) {
        run.Fail("the window " + Show(TextOf(box)) + " did not close after its button " + std::to_string(buttonId));
    }
    Trace("pressed button " + std::to_string(buttonId));
}

bool ExpectNoMessageBox(Run& run, const Toolbar& toolbar, const std::string& what) {
    if (run.Expect(toolbar.NoMessageBoxFor(0), what + ": no message box")) return true;
    for (const MessageBoxInfo& box : toolbar.MessageBoxes()) {
        run.Note("  the box says " + Show(box.text));
        Dismiss(run, box.window, IDOK);
    }
    return false;
}

void ExpectMessageBox(Run& run, const Toolbar& toolbar, const std::string& text, const std::string& caption,
                      bool icon) {
    const MessageBoxInfo box = toolbar.WaitMessageBox(run);
    run.ExpectEq("message box text", text, box.text);
    run.ExpectEq("message box caption", caption, box.caption);
    run.ExpectEq("message box buttons", 1, static_cast<long long>(box.buttons.size()));
    if (!box.buttons.empty()) run.ExpectEq("message box button", IDOK, box.buttons.front().first);
    run.Expect(box.hasIcon == icon, std::string("the message box shows ") + (icon ? "its icon" : "no icon"));
    Dismiss(run, box.window, box.buttons.empty() ? IDOK : box.buttons.front().first);
}

bool ExpectSameText(Run& run, const std::string& what, const std::string& expected, const std::string& actual) {
    constexpr std::size_t kPrintable = 2000;
    if (expected == actual || (expected.size() < kPrintable && actual.size() < kPrintable)) {
        return run.ExpectEq(what, expected, actual);
    }
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    const std::size_t from = at < 20 ? 0 : at - 20;
    return run.Expect(false, what + ": " + std::to_string(expected.size()) + " bytes expected, " +
                                 std::to_string(actual.size()) + " came; first difference at byte " +
                                 std::to_string(at) + ", expected " + Show(expected.substr(from, 60)) + ", came " +
                                 Show(actual.substr(from, 60)));
}

bool ExpectEditorText(Run& run, const Editor& editor, const std::string& expected, DWORD timeoutMs,
                      const std::string& what) {
    std::string last;
    if (WaitUntil([&] { return (last = editor.Text()) == expected; }, timeoutMs)) return true;
    NotePasteTrouble(run, editor, what);
    return ExpectSameText(run, what, expected, last);
}

bool ExpectEditorUnchanged(Run& run, const Editor& editor, const std::string& expected, DWORD ms) {
    std::string last;
    const bool changed = WaitUntil([&] { return (last = editor.Text()) != expected; }, ms);
    return run.ExpectEq("editor text (unchanged)", expected, changed ? last : expected);
}

bool ExpectEditorUnchanged(Run& run, const Toolbar& toolbar, const Editor& editor, const std::string& expected) {
    run.Require(WaitTickAfterNow(run, toolbar), "the toolbar took a timer tick");
    return run.ExpectEq("editor text (unchanged)", expected, editor.Text());
}

bool NoMessageBoxAfterTick(Run& run, const Toolbar& toolbar) {
    run.Require(WaitTickAfterNow(run, toolbar), "the toolbar took a timer tick");
    return toolbar.NoMessageBoxFor(0);
}

bool ExpectPastes(Run& run, const Editor& editor, int n, const std::string& what, DWORD timeoutMs) {
    WaitUntil([&] { return editor.PasteCount() >= n; }, timeoutMs);
    return run.ExpectEq(what, n, editor.PasteCount());
}

bool WaitCopies(const Editor& editor, int n, DWORD timeoutMs) {
    return WaitUntil([&] { return editor.CopyCount() >= n; }, timeoutMs);
}

// ---------------------------------------------------------------- other windows

namespace {

// Key presses are counted per key in window properties, read by KeyDowns.
std::wstring KeyProperty(WPARAM vk) { return L"SnipkitE2E.KeyDown." + std::to_wstring(vk); }
constexpr const wchar_t* kHotKeyProperty = L"SnipkitE2E.HotKeys";

void Bump(HWND w, const wchar_t* prop) {
    SetPropW(w, prop, reinterpret_cast<HANDLE>(reinterpret_cast<UINT_PTR>(GetPropW(w, prop)) + 1));
}

BOOL CALLBACK CollectProperty(HWND, LPWSTR name, HANDLE, ULONG_PTR list) {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
    return TRUE;
}

LRESULT CALLBACK OwnWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) Bump(w, KeyProperty(wp).c_str());
    if (msg == WM_HOTKEY) Bump(w, kHotKeyProperty);
    if (msg == WM_NCDESTROY) {
        std::vector<std::wstring> props;
        EnumPropsExW(w, CollectProperty, reinterpret_cast<LPARAM>(&props));
        for (const std::wstring& p : props) RemovePropW(w, p.c_str());
    }
    return DefWindowProcW(w, msg, wp, lp);
}

const wchar_t* OwnWindowClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = OwnWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"SnipkitE2EOtherWindow";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

}  // namespace

OwnWindow::OwnWindow(const std::wstring& caption, int x, int y, int width, int height) {
    hwnd_ = CreateWindowExW(0, OwnWindowClass(), caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width,
                            height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump(50);
}

int OwnWindow::KeyDowns(UINT vk) const {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(hwnd_, KeyProperty(vk).c_str())));
}

int OwnWindow::HotKeys() const {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(hwnd_, kHotKeyProperty)));
}

OwnWindow::~OwnWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    Pump(20);
}

// ---------------------------------------------------------------- clipboard

namespace {

bool OpenClipboardPatiently() {
    return WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 3000, 20);
}

}  // namespace

std::optional<std::wstring> OpenClipboardText() {
    std::optional<std::wstring> out;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            out = p;
            GlobalUnlock(h);
        }
    }
    return out;
}

bool PutOnOpenClipboard(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (g == nullptr) return false;
    std::memcpy(GlobalLock(g), text.c_str(), bytes);
    GlobalUnlock(g);
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, g) != nullptr) return true;
    GlobalFree(g);
    return false;
}

std::optional<std::string> ClipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    if (!OpenClipboardPatiently()) return std::nullopt;
    const std::optional<std::wstring> text = OpenClipboardText();
    CloseClipboard();
    if (!text) return std::nullopt;
    return ToUtf8(*text);
}

bool SetClipboardText(const std::string& utf8) {
    if (!OpenClipboardPatiently()) return false;
    const bool ok = PutOnOpenClipboard(FromUtf8(utf8));
    CloseClipboard();
    return ok;
}

// ---------------------------------------------------------------- popup menus

std::vector<HWND> OpenMenus(DWORD pid) {
    std::vector<HWND> out;
    for (HWND w : TopWindowsOf(pid)) {
        if (ClassOf(w) == L"#32768") out.push_back(w);
    }
    return out;
}

std::string Outline(const std::vector<MenuItem>& items, bool withIds, int depth) {
    std::string out;
    for (const MenuItem& m : items) {
        out += std::string(static_cast<size_t>(depth) * 2, ' ') + m.caption;
        if (m.caption != "-") {
            if (withIds && m.submenu.empty()) out += " #" + std::to_string(m.id);
            if (m.checked) out += " [checked]";
            if (m.grayed) out += " [grayed]";
        }
        out += "\n";
        out += Outline(m.submenu, withIds, depth + 1);
    }
    return out;
}

// ---------------------------------------------------------------- the X display

namespace {

void MakeReady(Run& run, HWND target, DWORD timeoutMs, bool mayClick);
void SendKeys(Run& run, const std::vector<std::string>& keys);

}  // namespace

void ClickMenuButton(Run& run, const Toolbar& toolbar, int buttonId) {
    HWND button = toolbar.Control(buttonId);
    run.Require(button != nullptr, "the toolbar has the button " + std::to_string(buttonId));
    const DWORD pid = toolbar.process->pid();
    run.Require(OpenMenus(pid).empty(), "no menu of the toolbar is open before the click");
    // The menu's keys go where the toolbar's go: ready first, since a click
    // on the caption once the menu is open would close it again.
    ReadyForKeys(run, toolbar.window);
    ClickScreen(run, toolbar.window, CentreOf(button));
    run.Require(WaitUntil([&] { return !OpenMenus(pid).empty(); }, kDefaultTimeout),
                "a click on button " + std::to_string(buttonId) + " opened its menu");
    // Wine turns the menu appearing under the pointer into a mouse move,
    // which may open a submenu by hover a moment later.
    Pump(400);
    if (OpenMenus(pid).size() > 1) {
        MakeReady(run, toolbar.window, kDefaultTimeout, false);
        SendKeys(run, {"Escape"});
        run.Require(WaitUntil([&] { return OpenMenus(pid).size() == 1; }, kDefaultTimeout),
                    "Escape closed the submenu the pointer had opened");
    }
}

namespace {

void MenuKey(Run& run, const Toolbar& toolbar, const std::string& key, bool opensSubmenu) {
    const DWORD pid = toolbar.process->pid();
    const std::size_t open = OpenMenus(pid).size();
    run.Require(open > 0, "a menu of the toolbar is open for the key " + key);
    // No click to bring the focus: it would close the menu.
    MakeReady(run, toolbar.window, kDefaultTimeout, false);
    SendKeys(run, {key});
    if (opensSubmenu) {
        run.Require(WaitUntil([&] { return OpenMenus(pid).size() == open + 1; }, kDefaultTimeout),
                    "the key " + key + " opened a submenu");
    } else {
        run.Require(WaitUntil([&] { return OpenMenus(pid).empty(); }, kDefaultTimeout),
                    "the key " + key + " picked a command and the menus closed");
    }
}

}  // namespace

void OpenSubmenuByKey(Run& run, const Toolbar& toolbar, const std::string& key) { MenuKey(run, toolbar, key, true); }

void PressMenuKeys(Run& run, const Toolbar& toolbar, const std::vector<std::string>& keys) {
    for (std::size_t i = 0; i < keys.size(); ++i) MenuKey(run, toolbar, keys[i], i + 1 < keys.size());
}

namespace {

// The runner's host helper takes one request per file: the program on the
// first line, one argument per following line. It answers with NAME.out and,
// when done, NAME.rc holding the exit code.
int HostRequest(Run& run, const std::vector<std::string>& argv, std::string* output, DWORD timeoutMs = 30000) {
    if (!HaveHost(run)) run.Fail("this step needs the runner's host helper (SNIPKIT_E2E_HOST is not set)");
    static int seq = 0;
    const std::wstring base = run.config().hostDir + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++seq);
    std::string body;
    for (const std::string& a : argv) body += a + "\n";
    const std::wstring tmp = base + L".tmp";
    if (!WriteFileBytes(tmp, body)) run.Fail("cannot write a host request in " + Narrow(run.config().hostDir));
    if (!MoveFileExW(tmp.c_str(), (base + L".req").c_str(), MOVEFILE_REPLACE_EXISTING)) {
        run.Fail("cannot hand over a host request");
    }
    const std::wstring rcFile = base + L".rc";
    if (!WaitUntil([&] { return GetFileAttributesW(rcFile.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs)) {
        run.Fail("the host helper did not answer " + argv.front());
    }
    const int rc = std::atoi(ReadFileBytes(rcFile).value_or("").c_str());
    if (output) *output = ReadFileBytes(base + L".out").value_or("");
    DeleteFileW(rcFile.c_str());
    DeleteFileW((base + L".out").c_str());
    return rc;
}

}  // namespace

std::string UnixPath(Run& run, const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix) {
        if (char* p = toUnix(windowsPath.c_str())) {
            std::string s = p;
            HeapFree(GetProcessHeap(), 0, p);
            return s;
        }
    }
    if (windowsPath.size() > 2 && (windowsPath[0] == L'Z' || windowsPath[0] == L'z') && windowsPath[1] == L':') {
        std::string s = Narrow(windowsPath.substr(2));
        for (char& c : s) {
            if (c == '\\') c = '/';
        }
        return s;
    }
    run.Fail("no Unix path for " + Narrow(windowsPath));
}

bool HaveHost(const Run& run) { return !run.config().hostDir.empty(); }

void Xdo(Run& run, const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string out;
    const int rc = HostRequest(run, argv, &out);
    if (rc != 0) {
        std::string line;
        for (const std::string& a : argv) line += a + " ";
        run.Fail(line + "failed (" + std::to_string(rc) + "): " + out);
    }
}

ULONG_PTR XWindowOf(HWND top) { return reinterpret_cast<ULONG_PTR>(GetPropW(top, L"__wine_x11_whole_window")); }

ULONG_PTR XWindowAt(Run& run, POINT at) {
    std::string out;
    if (HostRequest(run, {"xdotool", "mousemove", std::to_string(at.x), std::to_string(at.y), "getmouselocation",
                          "--shell"},
                    &out) != 0) {
        return 0;
    }
    const std::size_t p = out.find("WINDOW=");
    return p == std::string::npos ? 0 : std::strtoull(out.c_str() + p + 7, nullptr, 10);
}

ULONG_PTR XFocus(Run& run) {
    std::string out;
    // -f: the focused window itself, not the nearest one with a class hint.
    if (HostRequest(run, {"xdotool", "getwindowfocus", "-f"}, &out) != 0) return 0;
    return std::strtoull(out.c_str(), nullptr, 10);
}

namespace {

struct FindX {
    ULONG_PTR x;
    HWND found;
};

BOOL CALLBACK MatchX(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<FindX*>(lp);
    if (XWindowOf(w) != f->x) return TRUE;
    f->found = w;
    return FALSE;
}

// The top-level window Wine shows in X window x, if any.
HWND WindowOfX(ULONG_PTR x) {
    FindX f{x, nullptr};
    if (x != 0) EnumWindows(MatchX, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

std::string DescribeX(ULONG_PTR x) {
    if (x == 0) return "no window";
    const HWND w = WindowOfX(x);
    char id[32];
    std::snprintf(id, sizeof id, "X window 0x%llx", static_cast<unsigned long long>(x));
    return w ? Describe(w) + " (" + id + ")" : std::string(id) + ", none of Wine's";
}

// A point on the caption of a top-level window, where a click activates it
// and changes nothing inside it; false when it has no caption.
bool CaptionPoint(HWND top, POINT* at) {
    RECT r{};
    GetWindowRect(top, &r);
    POINT client{0, 0};
    ClientToScreen(top, &client);
    const LONG y = r.top + (client.y - r.top) / 2;
    for (const int part : {3, 2, 4}) {
        const POINT p{r.left + (r.right - r.left) / part, y};
        if (SendWithin(top, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == HTCAPTION) {
            *at = p;
            return true;
        }
    }
    return false;
}

void Click(Run& run, POINT at, int clicks) {
    // A click that comes within the double-click time of the one before, at
    // the same spot, is taken for the second half of a double-click: a
    // preview click followed by a double-click would close the browser on
    // its first half and send the second into the editor under it. So a
    // click waits until the last one is out of that time.
    static ULONGLONG lastClickEnd = 0;
    const ULONGLONG apart = GetDoubleClickTime() + 100;
    const ULONGLONG now = GetTickCount64();
    if (lastClickEnd != 0 && now - lastClickEnd < apart) Sleep(static_cast<DWORD>(apart - (now - lastClickEnd)));
    // No --sync on the move: under Wine it waits for a motion that never
    // comes when the pointer is already there.
    Xdo(run, {"mousemove", std::to_string(at.x), std::to_string(at.y), "click", "--repeat", std::to_string(clicks),
              "--delay", "60", "1"});
    lastClickEnd = GetTickCount64();
}

void SendKeys(Run& run, const std::vector<std::string>& keys) {
    std::vector<std::string> args{"key", "--delay", "120"};
    args.insert(args.end(), keys.begin(), keys.end());
    Xdo(run, args);
}

}  // namespace

void ClickScreen(Run& run, HWND target, POINT at, int clicks) {
    const HWND top = GetAncestor(target, GA_ROOT);
    run.Require(top != nullptr && IsWindowVisible(top), "a click for " + Describe(target) + ": the window is shown");
    // A window just shown may not be on the display yet, or may lie under one
    // raised a moment before; the click would then go to whatever is there.
    ULONG_PTR shown = 0;
    ULONG_PTR there = 0;
    const bool onTop = WaitUntil(
        [&] {
            shown = XWindowOf(top);
            if (shown != 0 && (there = XWindowAt(run, at)) == shown) return true;
            SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return false;
        },
        kDefaultTimeout, 100);
    if (!onTop) {
        run.Fail("a click for " + Describe(target) + " at " + std::to_string(at.x) + "," + std::to_string(at.y) +
                 ": the display shows " + DescribeX(there) + " there");
    }
    Click(run, at, clicks);
}

void MovePointer(Run& run, POINT to) { Xdo(run, {"mousemove", std::to_string(to.x), std::to_string(to.y)}); }

void ClickScreen(Run& run, POINT at, int clicks) {
    const HWND w = WindowFromPoint(at);
    const HWND top = w ? GetAncestor(w, GA_ROOT) : nullptr;
    if (top == nullptr || !run.Owns(ProcessOf(top))) {
        run.Fail("a click at " + std::to_string(at.x) + "," + std::to_string(at.y) + " would reach " + Describe(top) +
                 ", no window of the scenario's");
    }
    ClickScreen(run, top, at, clicks);
}

namespace {

void MakeReady(Run& run, HWND target, DWORD timeoutMs, bool mayClick) {
    const HWND top = GetAncestor(target, GA_ROOT);
    run.Require(top != nullptr && IsWindowVisible(top), "keys for " + Describe(target) + ": the window is shown");
    auto ready = [&] {
        if (GetForegroundWindow() != top) return false;
        const ULONG_PTR mine = XWindowOf(top);
        return mine != 0 && XFocus(run) == mine;
    };
    const DWORD start = GetTickCount();
    // It mostly comes by itself: Wine gives the X focus to the window it activates.
    DWORD wait = 300;
    for (int clicks = 0;; ++clicks) {
        if (WaitUntil(ready, wait, 30)) {
            if (clicks > 0) Trace("keys for " + Describe(top) + ": ready after " + std::to_string(clicks) + " click(s)");
            return;
        }
        if (GetTickCount() - start >= timeoutMs) break;
        if (!mayClick) {
            wait = timeoutMs;
            continue;
        }
        Trace("keys for " + Describe(top) + ": in front " + Describe(GetForegroundWindow()) + ", X focus " +
              DescribeX(XFocus(run)) + "; clicking it");
        POINT at{};
        if (!CaptionPoint(top, &at)) at = CentreOf(target);
        ClickScreen(run, top, at);
        // Giving the clicked window the X focus is a window manager's work,
        // and Xvfb runs none; Wine does it for a window it activates, but not
        // for one it already takes for the active window (focus handed back
        // from another process), so the driver does it as a manager would.
        if (!WaitUntil(ready, 300, 30) && GetForegroundWindow() == top && XWindowOf(top) != 0) {
            Xdo(run, {"windowfocus", std::to_string(XWindowOf(top))});
        }
        wait = 1000;
    }
    run.Fail("keys for " + Describe(target) + ": it did not get the focus within " + std::to_string(timeoutMs) +
             " ms; in front is " + Describe(GetForegroundWindow()) + ", the X focus is with " + DescribeX(XFocus(run)));
}

}  // namespace

void ReadyForKeys(Run& run, HWND target, DWORD timeoutMs) { MakeReady(run, target, timeoutMs, true); }

void PressKeys(Run& run, HWND target, const std::vector<std::string>& keys) {
    ReadyForKeys(run, target);
    SendKeys(run, keys);
}

void PressKeys(Run& run, const std::vector<std::string>& keys) {
    const HWND front = GetForegroundWindow();
    if (front == nullptr || !run.Owns(ProcessOf(front))) {
        run.Fail("keys " + Joined(keys) + ": in front is " + Describe(front) + ", no window of the scenario's");
    }
    PressKeys(run, front, keys);
}

std::string Screenshot(Run& run, const std::wstring& folder, const std::string& name) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string path = UnixPath(run, folder + L"\\" + FromUtf8(name) + L".png");
    std::string out;
    const int rc = HostRequest(run, {"import", "-window", "root", path}, &out);
    if (rc != 0) run.Fail("screenshot " + name + " failed: " + out);
    return path;
}

void ShotIfAsked(Run& run, const std::string& name) {
    if (run.config().shotsDir.empty() || !HaveHost(run)) return;
    std::printf("      screenshot: %s\n", Screenshot(run, run.config().shotsDir, name).c_str());
}

}  // namespace e2e
