// Reading the toolbar's popup menus through the hook library (menu_dump.h).
#include <cstdlib>
#include <sstream>

#include "../menu_dump.h"
#include "steps.h"

namespace e2e {
namespace {

std::vector<MenuItem> ParseDump(const std::string& text) {
    std::vector<MenuItem> root;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        size_t start = 0;
        for (int i = 0; i < 5; ++i) {
            const size_t tab = line.find('\t', start);
            if (tab == std::string::npos) break;
            f.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        if (f.size() != 5) continue;
        MenuItem item;
        item.caption = f[1] == "separator" ? "-" : line.substr(start);
        item.id = std::atoi(f[2].c_str());
        item.checked = f[3] == "1";
        item.grayed = f[4] == "1";
        // Walk down to the list that takes an item of this depth.
        std::vector<MenuItem>* list = &root;
        for (int d = std::atoi(f[0].c_str()); d > 0 && !list->empty(); --d) list = &list->back().submenu;
        list->push_back(std::move(item));
    }
    return root;
}

}  // namespace

OpenedMenu ReadButtonMenu(Run& run, const Toolbar& toolbar, int buttonId) {
    HWND button = toolbar.Control(buttonId);
    run.Require(button != nullptr, "the toolbar has the button " + std::to_string(buttonId));
    // The user's click on the button.
    return ReadMenuOpenedBy(
        run, toolbar, [button] { PostMessageW(button, BM_CLICK, 0, 0); }, "a click on button " + std::to_string(buttonId));
}

OpenedMenu ReadMenuOpenedBy(Run& run, const Toolbar& toolbar, const std::function<void()>& open,
                            const std::string& what) {
    using namespace menudump;
    run.Require(OpenMenus(toolbar.process->pid()).empty(), "no menu of the toolbar is open before " + what);

    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMappingSize, kMappingName);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, kDoneEventName);
    HMODULE dll = LoadLibraryW(run.config().hookDll.c_str());
    run.AtCleanup([mapping, done, dll] {
        if (mapping) CloseHandle(mapping);
        if (done) CloseHandle(done);
        if (dll) FreeLibrary(dll);
    });
    run.Require(mapping && done, "shared memory for the menu reader");
    run.Require(dll != nullptr, "the menu reader's hook library loads");
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, kHookProcName)));
    run.Require(proc != nullptr, "the hook library exports its hook");

    const DWORD thread = GetWindowThreadProcessId(toolbar.window, nullptr);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, proc, dll, thread);
    run.Require(hook != nullptr, "a message hook on the toolbar's thread");

    OpenedMenu result;
    std::string text;
    bool opened = false;
    // Under load Wine now and then takes a menu down again before the hook
    // gets to it; a second click tells that from a menu that cannot be read.
    for (int attempt = 0; attempt < 2 && text.empty(); ++attempt) {
        if (attempt > 0) {
            PostMessageW(toolbar.window, WM_CANCELMODE, 0, 0);
            WaitUntil([&] { return OpenMenus(toolbar.process->pid()).empty(); }, kDefaultTimeout);
        }
        open();
        opened = WaitUntil([&] { return !OpenMenus(toolbar.process->pid()).empty(); }, kDefaultTimeout);
        if (!opened) continue;
        Pump(100);  // let it settle where it opens
        const std::vector<HWND> menus = OpenMenus(toolbar.process->pid());
        if (!menus.empty()) GetWindowRect(menus.front(), &result.rect);
        ResetEvent(done);
        PostMessageW(toolbar.window, RegisterWindowMessageW(kRequestMessage), kCloseAfterDump, 0);
        if (WaitUntil([&] { return WaitForSingleObject(done, 0) == WAIT_OBJECT_0; }, kDefaultTimeout)) {
            if (const char* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
                text = view;
                UnmapViewOfFile(view);
            }
        }
    }
    UnhookWindowsHookEx(hook);
    run.Require(opened, "a popup menu opened after " + what);
    run.Require(!text.empty(), "the open menu could be read");
    if (!WaitUntil([&] { return OpenMenus(toolbar.process->pid()).empty(); }, kDefaultTimeout)) {
        run.Fail("the menu did not close again");
    }
    result.items = ParseDump(text);
    return result;
}

}  // namespace e2e
