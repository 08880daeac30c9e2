#include "harness.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "steps.h"

namespace e2e {
namespace {

std::vector<Scenario>& Registry() {
    static std::vector<Scenario> scenarios;
    return scenarios;
}

std::wstring Join(const std::wstring& a, const std::wstring& b) {
    if (a.empty()) return b;
    if (a.back() == L'\\' || a.back() == L'/') return a + b;
    return a + L"\\" + b;
}

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Join(dir, L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            const std::wstring p = Join(dir, n);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(p);
            } else {
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(p.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

void MakeDirs(const std::wstring& dir) {
    for (size_t i = 3; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == L'\\') CreateDirectoryW(dir.substr(0, i).c_str(), nullptr);
    }
}

}  // namespace

int RegisterScenario(const char* group, const char* name, const char* summary, ScenarioFn fn) {
    Registry().push_back(Scenario{group, name, summary, fn});
    return static_cast<int>(Registry().size());
}

const std::vector<Scenario>& AllScenarios() { return Registry(); }

std::string Show(const std::string& bytes) {
    std::string out = "\"";
    const std::wstring wide = FromUtf8(bytes);
    const bool validUtf8 = ToUtf8(wide) == bytes;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        char buf[8];
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && !validUtf8)) {
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

Run::Run(const Config& config, std::string group, std::string name)
    : config_(config), group_(std::move(group)), name_(std::move(name)) {
    dir_ = Join(Join(config_.workRoot, FromUtf8(group_)), FromUtf8(name_));
    RemoveTree(dir_);
    MakeDirs(dir_);
}

Run::~Run() { CloseAll(); }

bool Run::Expect(bool ok, const std::string& what) {
    if (!ok) {
        ++failures_;
        if (!quiet_) std::printf("    FAILED: %s\n", what.c_str());
    }
    return ok;
}

bool Run::ExpectEq(const std::string& what, const std::string& expected, const std::string& actual) {
    if (expected == actual) return true;
    ++failures_;
    if (!quiet_) {
        std::printf("    FAILED: %s\n      expected: %s\n      actual:   %s\n", what.c_str(), Show(expected).c_str(),
                    Show(actual).c_str());
    }
    return false;
}

bool Run::ExpectEq(const std::string& what, long long expected, long long actual) {
    if (expected == actual) return true;
    ++failures_;
    if (!quiet_) std::printf("    FAILED: %s\n      expected: %lld\n      actual:   %lld\n", what.c_str(), expected, actual);
    return false;
}

void Run::Require(bool ok, const std::string& what) {
    if (!ok) Fail(what);
}

void Run::RequireEq(const std::string& what, const std::string& expected, const std::string& actual) {
    if (!ExpectEq(what, expected, actual)) throw StepFailed(what);
}

void Run::Fail(const std::string& what) { throw StepFailed(what); }

void Run::Note(const std::string& line) const {
    std::printf("    %s\n", line.c_str());
    std::fflush(stdout);
}

bool Run::Owns(DWORD pid) const {
    if (pid == GetCurrentProcessId()) return true;
    for (const auto& p : processes_) {
        if (p->pid() == pid) return true;
    }
    return false;
}

Process& Run::Track(Process p) {
    processes_.push_back(std::make_unique<Process>(std::move(p)));
    return *processes_.back();
}

void Run::CloseAll() {
    auto cleanups = std::move(cleanups_);
    cleanups_.clear();
    for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) (*it)();
    tickers_.clear();
    // In reverse order of their start.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        Process* p = it->get();
        if (!p->Running()) {
            // A toolbar that ended without the scenario ending it crashed or
            // quit on its own: a fault the scenario's checks may not show.
            if (p->watched() && !p->endExpected()) {
                Expect(false, p->label() + " ended during the scenario, exit code " +
                                  std::to_string(p->ExitCode()));
            } else if (p->watched()) {
                ExpectEq(p->label() + ": exit code", 0, static_cast<long long>(p->ExitCode()));
            }
            continue;
        }
        // A box the scenario did not answer is one it did not expect.
        for (const MessageBoxInfo& box : MessageBoxesOf(p->pid())) {
            Expect(false, "a message box of " + p->label() + " was left open: " + Show(box.caption) + " " +
                              Show(box.text));
            PostMessageW(box.window, WM_CLOSE, 0, 0);
        }
        Trace("closing " + p->label());
        if (!p->CloseWindows(5000)) {
            if (p->watched()) {
                Expect(false, p->label() + " did not close within 5 s; terminated");
            } else {
                std::printf("    note: %s did not close; terminating it\n", p->label().c_str());
            }
            p->Terminate();
            p->WaitExit(5000);
        } else if (p->watched()) {
            ExpectEq(p->label() + ": exit code when closed", 0, static_cast<long long>(p->ExitCode()));
        }
    }
    processes_.clear();
    Trace("all closed");
}

}  // namespace e2e

namespace {

using e2e::Config;

void Usage() {
    std::printf(
        "usage (e2e_driver, or e2e_bench for the benchmarks):\n"
        "  e2e_driver list\n"
        "  e2e_driver run [--snipkit EXE] [--work DIR] [--repo DIR] NAME...\n"
        "      NAME is a group (every scenario in it) or group.scenario or a scenario name.\n"
        "  e2e_driver demo [--snipkit EXE] [--work DIR] [--repo DIR] --shots DIR\n"
        "The runner's host helper folder comes from SNIPKIT_E2E_HOST.\n");
}

std::wstring DriverFolder() {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring p(buf, n);
    const size_t slash = p.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : p.substr(0, slash);
}

std::wstring EnvW(const wchar_t* name) {
    wchar_t buf[1024];
    const DWORD n = GetEnvironmentVariableW(name, buf, 1024);
    return n > 0 && n < 1024 ? std::wstring(buf, n) : std::wstring();
}

std::wstring FullPath(const std::wstring& p) {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetFullPathNameW(p.c_str(), MAX_PATH, buf, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : p;
}

bool Matches(const e2e::Scenario& s, const std::string& pattern) {
    return pattern == s.group || pattern == s.name || pattern == std::string(s.group) + "." + s.name;
}

int RunScenarios(const Config& config, const std::vector<std::string>& patterns) {
    std::vector<const e2e::Scenario*> chosen;
    for (const std::string& pat : patterns) {
        bool any = false;
        for (const e2e::Scenario& s : e2e::AllScenarios()) {
            if (!Matches(s, pat)) continue;
            any = true;
            if (std::find(chosen.begin(), chosen.end(), &s) == chosen.end()) chosen.push_back(&s);
        }
        if (!any) {
            std::printf("no scenario or group named %s\n", pat.c_str());
            return 2;
        }
    }
    int failed = 0;
    for (const e2e::Scenario* s : chosen) {
        std::printf("[ RUN  ] %s.%s\n", s->group, s->name);
        std::fflush(stdout);
        const DWORD t0 = GetTickCount();
        int failures = 0;
        {
            e2e::Run run(config, s->group, s->name);
            try {
                s->fn(run);
            } catch (const e2e::StepFailed& e) {
                std::printf("    STOPPED: %s\n", e.what());
                run.Expect(false, "scenario stopped early");
            } catch (const std::exception& e) {
                std::printf("    ERROR: %s\n", e.what());
                run.Expect(false, "unexpected exception");
            }
            run.CloseAll();
            failures = run.failures();
        }
        const double secs = (GetTickCount() - t0) / 1000.0;
        std::printf("[ %s ] %s.%s (%.1f s)\n", failures ? "FAIL" : " OK ", s->group, s->name, secs);
        std::fflush(stdout);
        if (failures) ++failed;
    }
    std::printf("%zu scenario(s), %d failed\n", chosen.size(), failed);
    return failed ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) {
        Usage();
        return 2;
    }
    const std::wstring verb = argv[1];
    if (verb == L"list") {
        for (const e2e::Scenario& s : e2e::AllScenarios()) std::printf("%s.%s\t%s\n", s.group, s.name, s.summary);
        return 0;
    }

    Config config;
    const std::wstring here = DriverFolder();
    config.editorExe = here + L"\\standin_editor.exe";
    config.hookDll = here + L"\\e2e_menuhook.dll";
    config.snipkitExe = here + L"\\..\\..\\snipkit.exe";
    config.workRoot = here + L"\\work";
    config.repoRoot = here + L"\\..\\..\\..";
    config.hostDir = EnvW(L"SNIPKIT_E2E_HOST");
    std::vector<std::string> names;
    for (int i = 2; i < argc; ++i) {
        const std::wstring a = argv[i];
        auto value = [&]() -> std::wstring {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == L"--snipkit") {
            config.snipkitExe = value();
        } else if (a == L"--work") {
            config.workRoot = value();
        } else if (a == L"--repo") {
            config.repoRoot = value();
        } else if (a == L"--shots") {
            config.shotsDir = value();
        } else if (a.size() > 1 && a[0] == L'-') {
            Usage();
            return 2;
        } else {
            names.push_back(e2e::ToUtf8(a));
        }
    }
    config.snipkitExe = FullPath(config.snipkitExe);
    config.workRoot = FullPath(config.workRoot);
    config.repoRoot = FullPath(config.repoRoot);
    if (!config.shotsDir.empty()) config.shotsDir = FullPath(config.shotsDir);

    if (verb == L"run") {
        if (names.empty()) {
            Usage();
            return 2;
        }
        return RunScenarios(config, names);
    }
    if (verb == L"demo") {
        if (config.shotsDir.empty()) {
            Usage();
            return 2;
        }
        return RunScenarios(config, {"demo"});
    }
    Usage();
    return 2;
}
