// The scenario harness: registration of scenarios by group and name, one Run
// per scenario (its private folder, the processes it started, its checks),
// and the checks themselves. A failed check prints what was expected and what
// came; a failed step ends the scenario.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

// Where the programs under test are, as Windows paths.
struct Config {
    std::wstring snipkitExe;  // the toolbar build to test
    std::wstring editorExe;   // the stand-in editor (beside the driver by default)
    std::wstring hookDll;     // the menu reader's hook library (beside the driver)
    std::wstring workRoot;    // scenarios get private folders under it
    std::wstring repoRoot;    // the source tree, for the sample files
    std::wstring hostDir;     // request folder of the runner's host helper; empty without one
    std::wstring shotsDir;    // where the demo saves its screenshots
};

// A step could not be carried out, or a required check failed: the scenario stops.
class StepFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Process;

class Run {
public:
    Run(const Config& config, std::string group, std::string name);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    const Config& config() const { return config_; }
    const std::string& name() const { return name_; }
    // A fresh folder that belongs to this scenario alone.
    const std::wstring& dir() const { return dir_; }
    int failures() const { return failures_; }

    // Soft checks: a failure is reported and counted, the scenario goes on.
    bool Expect(bool ok, const std::string& what);
    bool ExpectEq(const std::string& what, const std::string& expected, const std::string& actual);
    bool ExpectEq(const std::string& what, long long expected, long long actual);
    // Hard checks: a failure ends the scenario.
    void Require(bool ok, const std::string& what);
    void RequireEq(const std::string& what, const std::string& expected, const std::string& actual);
    [[noreturn]] void Fail(const std::string& what);

    void Note(const std::string& line) const;
    // A quiet run counts its failures without printing them.
    void SetQuiet(bool quiet) { quiet_ = quiet; }

    // Processes started for this scenario; whatever is still running at the
    // end is closed (and, failing that, terminated) by the Run.
    Process& Track(Process p);
    void CloseAll();

    // Called by Run's destructor and by CloseAll, registered by the steps that
    // open resources which must go before the processes are closed.
    void AtCleanup(std::function<void()> fn) { cleanups_.push_back(std::move(fn)); }
    // True for the processes this scenario started, and for the driver itself.
    bool Owns(DWORD pid) const;

    // A toolbar's window and the count of timer ticks its thread has taken
    // (kept by the hook library), for the steps that wait for a tick.
    struct Ticker {
        HWND window;
        volatile LONG* ticks;
    };
    std::vector<Ticker>& tickers() { return tickers_; }

private:
    const Config& config_;
    std::string group_;
    std::string name_;
    std::wstring dir_;
    int failures_ = 0;
    bool quiet_ = false;
    std::vector<std::unique_ptr<Process>> processes_;
    std::vector<std::function<void()>> cleanups_;
    std::vector<Ticker> tickers_;
};

using ScenarioFn = void (*)(Run&);

struct Scenario {
    const char* group;
    const char* name;
    const char* summary;
    ScenarioFn fn;
};

int RegisterScenario(const char* group, const char* name, const char* summary, ScenarioFn fn);
const std::vector<Scenario>& AllScenarios();

// Quoted, with control characters and invalid UTF-8 escaped, for messages.
std::string Show(const std::string& bytes);

}  // namespace e2e

#define E2E_CONCAT_INNER(a, b) a##b
#define E2E_CONCAT(a, b) E2E_CONCAT_INNER(a, b)

// Defines a scenario: E2E_SCENARIO("group", "name", "what it shows") { ...body using run... }
#define E2E_SCENARIO(group, name, summary)                                                     \
    static void E2E_CONCAT(e2e_scenario_, __LINE__)(::e2e::Run & run);                        \
    [[maybe_unused]] static const int E2E_CONCAT(e2e_registered_, __LINE__) =                 \
        ::e2e::RegisterScenario(group, name, summary, &E2E_CONCAT(e2e_scenario_, __LINE__)); \
    static void E2E_CONCAT(e2e_scenario_, __LINE__)([[maybe_unused]] ::e2e::Run & run)
