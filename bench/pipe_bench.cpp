// `make bench`: snipkit-text against `cat` and against the classic filter
// that does the same work (tr, sed), on the same generated Pascal-like input
// of about 100 MB, and the line rules on an LF copy of it too. Each command runs once to warm up (and have its output
// checked), then our command, cat and the peer take turns for --runs runs.
// For each rule the table shows the ratios of our time to cat's and to the
// peer's, run by run (median, min and max), our peak resident memory, and
// whether each target is met. POSIX only.
//
//   snipkit_pipe_bench --tool PATH [--size-mb 100] [--runs 9] [--work DIR]
//                      [--readme README.md]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "pascal_text.h"

extern char** environ;

namespace {

struct Options {
    std::string tool;
    std::size_t sizeMb = 100;
    int runs = 9;
    std::string work = "build/bench";
    std::string readme;
};

enum class Check {
    Same,           // byte for byte the peer's output
    TrimmedInput,   // the plain input less the blanks and breaks at its ends
    None,           // no other tool does this work
};

// Lf and LfCommented are Plain and Commented with every CR LF made LF, as
// Unix editors hand a filter their text.
enum class Input { Plain, Commented, Block, Lf, LfCommented };

bool IsLf(Input input) { return input == Input::Lf || input == Input::LfCommented; }

const char* InputName(Input input) {
    switch (input) {
        case Input::Plain: return "text";
        case Input::Commented: return "// text";
        case Input::Block: return "{ text }";
        case Input::Lf: return "LF text";
        case Input::LfCommented: return "// LF text";
    }
    return "";
}

// Our command's peak memory: a small constant where the rule streams, a
// bound in input sizes where it needs the whole text.
enum class Memory { Streams, WholeText };

// What a streaming rule may hold, whatever the input size.
constexpr double kStreamRssLimitMiB = 16;
// What a whole-text rule may hold, in input sizes.
constexpr double kWholeTextRssLimit = 2.2;
// Every streaming rule against cat; on LF text, tighter.
constexpr double kStreamCatTarget = 1.5;
constexpr double kLfCatTarget = 1.2;

struct Rule {
    std::vector<std::string> args;  // after the program
    Input input;
    std::vector<std::string> peer;  // the same work by other tools
    double peerTarget;              // ours/peer at most; 0 for none
    Memory memory;
    Check check;
};

struct Run {
    double seconds;     // wall
    double cpuSeconds;  // user and system
    long maxRssKb;
};

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "snipkit_pipe_bench: " << message << "\n";
    std::exit(1);
}

std::string Shown(const std::vector<std::string>& argv) {
    std::string out;
    for (const std::string& a : argv) {
        if (!out.empty()) out += ' ';
        out += a.find_first_of(" |^$*{}()") != std::string::npos ? "'" + a + "'" : a;
    }
    // A pipe inside a table cell must be escaped, code span or not.
    std::string escaped;
    for (char c : out) {
        if (c == '|') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::vector<char*> Environment() {
    static std::vector<std::string> storage;
    storage.clear();
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "LC_ALL=", 7) != 0) storage.emplace_back(*e);
    }
    // The peers at their fastest: bytes, not multibyte characters.
    storage.emplace_back("LC_ALL=C");
    std::vector<char*> env;
    for (std::string& s : storage) env.push_back(s.data());
    env.push_back(nullptr);
    return env;
}

// One run: stdin from input, stdout into output (emptied first, outside the
// timing). Wall time from spawn to reaping, and the child's peak RSS.
Run RunOnce(const std::vector<std::string>& argv, const std::string& input, const std::string& output) {
    if (truncate(output.c_str(), 0) != 0 && errno != ENOENT) Fail("cannot empty " + output);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0644);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env = Environment();

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data()) != 0) {
        Fail("cannot start " + argv[0]);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) Fail("wait4 failed");
    const auto stop = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail(argv[0] + " failed on " + input);
    const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return {std::chrono::duration<double>(stop - start).count(), cpu(usage.ru_utime) + cpu(usage.ru_stime),
            usage.ru_maxrss};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) Fail("cannot write " + path);
}

std::uint64_t FileSize(const std::string& path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

// Whether `length` bytes of file a from its start and of file b from
// `offset` are equal, read in small blocks: the runner's own memory peak is
// part of every child's, since a spawned child starts as a copy of it.
bool SameBytes(const std::string& a, const std::string& b, std::uint64_t offset, std::uint64_t length) {
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    fb.seekg(static_cast<std::streamoff>(offset));
    std::vector<char> ba(1 << 20);
    std::vector<char> bb(1 << 20);
    while (length > 0) {
        const auto n = static_cast<std::streamsize>(std::min<std::uint64_t>(length, ba.size()));
        if (!fa.read(ba.data(), n) || !fb.read(bb.data(), n)) return false;
        if (std::memcmp(ba.data(), bb.data(), static_cast<std::size_t>(n)) != 0) return false;
        length -= static_cast<std::uint64_t>(n);
    }
    return true;
}

// The range of a file left when the bytes up to 0x20 at both ends are
// dropped, as uncomment trims: {offset, length}.
std::pair<std::uint64_t, std::uint64_t> TrimmedRange(const std::string& path) {
    const std::uint64_t size = FileSize(path);
    std::ifstream in(path, std::ios::binary);
    std::uint64_t begin = 0;
    char c = 0;
    while (begin < size && in.get(c) && static_cast<unsigned char>(c) <= 0x20) ++begin;
    std::uint64_t end = size;
    while (end > begin) {
        in.clear();
        in.seekg(static_cast<std::streamoff>(end - 1));
        if (!in.get(c) || static_cast<unsigned char>(c) > 0x20) break;
        --end;
    }
    return {begin, end - begin};
}

// Whether our output is what the check expects from the peer's output or
// from the plain input.
bool OutputAgrees(Check check, const std::string& ours, const std::string& peer, const std::string& plain) {
    const std::uint64_t a = FileSize(ours);
    switch (check) {
        case Check::Same: return a == FileSize(peer) && SameBytes(ours, peer, 0, a);
        case Check::TrimmedInput: {
            const auto [offset, length] = TrimmedRange(plain);
            return a == length && SameBytes(ours, plain, offset, length);
        }
        case Check::None: return true;
    }
    return false;
}

// The input is made in a child process, for the same reason.
void Generate(const std::string& path, std::size_t bytes) {
    const pid_t pid = fork();
    if (pid < 0) Fail("fork failed");
    if (pid == 0) {
        WriteFile(path, snipkit::bench::PascalLikeText(bytes));
        _exit(0);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        Fail("cannot generate " + path);
    }
}

struct Spread {
    double median;
    double min;
    double max;
};

Spread SpreadOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

std::string FirstLine(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        if (std::fgets(buf, sizeof buf, p)) out = buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

std::string Machine() {
    std::string model = FirstLine("lscpu 2>/dev/null | sed -n 's/^Model name: *//p'");
    if (model.empty()) model = FirstLine("sed -n 's/^model name[^:]*: *//p' /proc/cpuinfo");
    std::ostringstream s;
    s << (model.empty() ? "unknown CPU" : model) << ", " << std::thread::hardware_concurrency() << " cores";
    const std::string mem = FirstLine("sed -n 's/^MemTotal: *\\([0-9]*\\) kB/\\1/p' /proc/meminfo");
    if (!mem.empty()) s << ", " << std::fixed << std::setprecision(0) << std::stod(mem) / (1024 * 1024) << " GiB RAM";
    const std::string kernel = FirstLine("uname -sr");
    if (!kernel.empty()) s << ", " << kernel;
    return s.str();
}

void UpdateReadme(const std::string& path, const std::string& section) {
    const std::string begin = "<!-- perf:begin -->";
    const std::string end = "<!-- perf:end -->";
    std::string text = ReadFile(path);
    const std::size_t b = text.find(begin);
    const std::size_t e = text.find(end);
    const std::string block = begin + "\n" + section + end;
    if (b != std::string::npos && e != std::string::npos && b < e) {
        text.replace(b, e + end.size() - b, block);
    } else {
        if (!text.empty() && text.back() != '\n') text += '\n';
        text += "\n## Performance\n\n" + block + "\n";
    }
    WriteFile(path, text);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail(a + " needs a value");
            return argv[++i];
        };
        if (a == "--tool") o.tool = value();
        else if (a == "--size-mb") o.sizeMb = std::stoul(value());
        else if (a == "--runs") o.runs = std::stoi(value());
        else if (a == "--work") o.work = value();
        else if (a == "--readme") o.readme = value();
        else Fail("unknown option " + a);
    }
    if (o.tool.empty()) Fail("--tool PATH is required");
    if (o.runs < 1) Fail("--runs must be at least 1");
    return o;
}

// "0.42 (0.40–0.47)"
std::string RatioCell(const Spread& r) {
    std::ostringstream s;
    s << std::fixed << std::setprecision(2) << r.median << " (" << r.min << "\u2013" << r.max << ")";
    return s.str();
}

std::string Seconds(double s) {
    std::ostringstream o;
    o << std::fixed << std::setprecision(3) << s;
    return o.str();
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    // Other work on the machine skews the figures; the table says how busy it was.
    const std::string load = FirstLine("cut -d' ' -f1 /proc/loadavg");
    mkdir(o.work.c_str(), 0755);

    const std::string plain = o.work + "/input.pas";
    const std::string commented = o.work + "/input.commented.pas";
    const std::string block = o.work + "/input.block.pas";
    const std::string lf = o.work + "/input.lf.pas";
    const std::string lfCommented = o.work + "/input.lf.commented.pas";
    const std::size_t want = o.sizeMb << 20;
    struct stat st{};
    if (stat(plain.c_str(), &st) != 0 || static_cast<std::size_t>(st.st_size) < want ||
        static_cast<std::size_t>(st.st_size) > want + (1 << 20)) {
        std::cerr << "generating " << plain << " (" << o.sizeMb << " MiB)\n";
        Generate(plain, want);
        unlink(commented.c_str());
        unlink(block.c_str());
        unlink(lf.c_str());
        unlink(lfCommented.c_str());
    }
    // Outputs in memory-backed storage where there is some, so that disk
    // write-back does not blur the figures.
    struct stat shm{};
    const std::string outDir = stat("/dev/shm", &shm) == 0 && access("/dev/shm", W_OK) == 0 ? "/dev/shm" : o.work;
    const std::string oursOut = outDir + "/snipkit-bench-ours." + std::to_string(getpid());
    const std::string peerOut = outDir + "/snipkit-bench-peer." + std::to_string(getpid());
    const std::string catOut = outDir + "/snipkit-bench-cat." + std::to_string(getpid());

    // The uncomment inputs, made by our own comment commands, whose outputs
    // the rows below check against their peers': every line commented out
    // with //, and the whole text in one brace comment.
    if (stat(commented.c_str(), &st) != 0) RunOnce({o.tool, "comment"}, plain, commented);
    if (stat(block.c_str(), &st) != 0) RunOnce({o.tool, "comment-brace"}, plain, block);
    if (stat(lf.c_str(), &st) != 0) RunOnce({"sed", "s/\r$//"}, plain, lf);
    if (stat(lfCommented.c_str(), &st) != 0) RunOnce({o.tool, "comment"}, lf, lfCommented);

    const std::vector<std::string> none;
    const auto wrap = [](const std::string& open, const std::string& close) {
        return std::vector<std::string>{"sh", "-c", "printf \"" + open + "\"; cat; printf \"" + close + "\""};
    };
    const std::vector<Rule> rules = {
        {{"upper"}, Input::Plain, {"tr", "a-z", "A-Z"}, 0.7, Memory::Streams, Check::Same},
        {{"lower"}, Input::Plain, {"tr", "A-Z", "a-z"}, 0, Memory::Streams, Check::Same},
        {{"flip"}, Input::Plain, {"tr", "a-zA-Z", "A-Za-z"}, 0, Memory::Streams, Check::Same},
        {{"title"}, Input::Plain, none, 0, Memory::Streams, Check::None},
        {{"comment"}, Input::Plain, {"sed", "s|^|//|"}, 0.3, Memory::Streams, Check::Same},
        {{"indent", "2"}, Input::Plain, {"sed", "s/^/  /"}, 0.3, Memory::Streams, Check::Same},
        {{"uncomment"}, Input::Commented, {"sed", "s|^//||"}, 0, Memory::Streams, Check::Same},
        {{"unindent", "2"}, Input::Plain, {"sed", "-E", "s/^ {1,2}//"}, 0, Memory::Streams, Check::Same},
        {{"comment-brace"}, Input::Plain, wrap("{ ", " }"), 0, Memory::WholeText, Check::Same},
        {{"comment-paren"}, Input::Plain, wrap("(* ", " *)"), 0, Memory::WholeText, Check::Same},
        {{"uncomment"}, Input::Block, none, 0, Memory::WholeText, Check::TrimmedInput},
        {{"comment"}, Input::Lf, {"sed", "s|^|//|"}, 0, Memory::Streams, Check::Same},
        {{"indent", "2"}, Input::Lf, {"sed", "s/^/  /"}, 0, Memory::Streams, Check::Same},
        {{"uncomment"}, Input::LfCommented, {"sed", "s|^//||"}, 0, Memory::Streams, Check::Same},
        {{"unindent", "2"}, Input::Lf, {"sed", "-E", "s/^ {1,2}//"}, 0, Memory::Streams, Check::Same},
    };

    std::ostringstream table;
    table << "| snipkit-text | on | ours (s) | ours/`cat` | CPU | target | met | peer | ours/peer | target | met | "
             "peak RSS | limit | met | output |\n";
    table << "|---|---|---:|---:|---:|---:|---|---|---:|---:|---|---:|---:|---|---|\n";
    std::vector<std::string> missed;
    bool allAgree = true;
    for (const Rule& rule : rules) {
        const std::string& in = rule.input == Input::Plain       ? plain
                                : rule.input == Input::Commented ? commented
                                : rule.input == Input::Block     ? block
                                : rule.input == Input::Lf        ? lf
                                                                 : lfCommented;
        const double inputBytes = static_cast<double>(FileSize(in));
        std::vector<std::string> ours = {o.tool};
        ours.insert(ours.end(), rule.args.begin(), rule.args.end());
        const std::string name = Shown(rule.args);
        const bool hasPeer = !rule.peer.empty();

        // Warm-up, and the output check.
        RunOnce(ours, in, oursOut);
        if (hasPeer) RunOnce(rule.peer, in, peerOut);
        const bool agree = OutputAgrees(rule.check, oursOut, peerOut, plain);
        allAgree = allAgree && agree;

        std::vector<double> oursTimes;
        std::vector<double> toCat;
        std::vector<double> cpuToCat;
        std::vector<double> toPeer;
        long rssKb = 0;
        for (int r = 0; r < o.runs; ++r) {
            // Every other turn the other way round, so that neither side
            // always runs just after the slow peer.
            Run a{};
            Run p{};
            if (r % 2 == 0) a = RunOnce(ours, in, oursOut);
            if (hasPeer && r % 2 == 1) p = RunOnce(rule.peer, in, peerOut);
            const Run c = RunOnce({"cat"}, in, catOut);
            if (hasPeer && r % 2 == 0) p = RunOnce(rule.peer, in, peerOut);
            if (r % 2 == 1) a = RunOnce(ours, in, oursOut);
            oursTimes.push_back(a.seconds);
            toCat.push_back(a.seconds / c.seconds);
            cpuToCat.push_back(a.cpuSeconds / std::max(c.cpuSeconds, 1e-3));
            if (hasPeer) toPeer.push_back(a.seconds / p.seconds);
            rssKb = std::max(rssKb, a.maxRssKb);
        }
        const Spread time = SpreadOf(oursTimes);
        const Spread cat = SpreadOf(toCat);
        const Spread cpu = SpreadOf(cpuToCat);
        const double rssMiB = static_cast<double>(rssKb) / 1024;
        const bool streams = rule.memory == Memory::Streams;
        const double catTarget = IsLf(rule.input) ? kLfCatTarget : kStreamCatTarget;
        const bool catMet = !streams || cat.median <= catTarget;
        const bool rssMet = streams ? rssMiB <= kStreamRssLimitMiB
                                    : rssMiB * (1 << 20) <= kWholeTextRssLimit * inputBytes;
        const std::string shownName = name + (IsLf(rule.input) ? " on LF text" : "");
        if (!catMet) missed.push_back(shownName + " against cat");
        if (!rssMet) missed.push_back(shownName + " memory");

        std::ostringstream row;
        row << std::fixed << "| `" << name << "` | "
            << InputName(rule.input) << " | " << Seconds(time.median) << " | " << RatioCell(cat) << " | " << std::setprecision(2)
            << cpu.median << " | ";
        if (streams) {
            row << std::setprecision(1) << catTarget << " | " << (catMet ? "yes" : "**no**") << " | ";
        } else {
            row << "| | ";
        }
        if (hasPeer) {
            const Spread peer = SpreadOf(toPeer);
            row << "`" << Shown(rule.peer) << "` | " << RatioCell(peer) << " | ";
            if (rule.peerTarget > 0) {
                const bool met = peer.median <= rule.peerTarget;
                if (!met) missed.push_back(shownName + " against " + rule.peer[0]);
                row << std::setprecision(1) << rule.peerTarget << " | " << (met ? "yes" : "**no**") << " | ";
            } else {
                row << "| | ";
            }
        } else {
            row << "none | | | | ";
        }
        row << std::setprecision(1) << rssMiB << " MiB | ";
        if (streams) {
            row << std::setprecision(0) << kStreamRssLimitMiB << " MiB";
        } else {
            row << std::setprecision(1) << kWholeTextRssLimit << " \u00d7 input (" << std::setprecision(2)
                << rssMiB * (1 << 20) / inputBytes << ")";
        }
        row << " | " << (rssMet ? "yes" : "**no**") << " | ";
        switch (rule.check) {
            case Check::Same: row << (agree ? "identical" : "**DIFFERS**"); break;
            case Check::TrimmedInput: row << (agree ? "the text, trimmed" : "**DIFFERS**"); break;
            case Check::None: row << "(not compared)"; break;
        }
        row << " |\n";
        table << row.str();
        std::cerr << shownName << ": " << Seconds(time.median) << " s, " << RatioCell(cat) << " of cat\n";
    }
    unlink(oursOut.c_str());
    unlink(peerOut.c_str());
    unlink(catOut.c_str());

    std::ostringstream section;
    section << std::fixed << std::setprecision(1);
    section << "Measured by `make bench` on " << Machine() << " (1-minute load average " << load
            << " when it started).\n\n";
    section << "Input: a generated Pascal-like text of " << static_cast<double>(FileSize(plain)) / (1 << 20)
            << " MiB (CR LF lines, indented blocks, blank lines, long lines, bytes above 0x7F). Uncomment runs on "
               "the same text commented out with `//` (it streams) and wrapped in one `{ }` comment (it needs "
               "the whole text). The line rules run on an LF copy of both as well (every CR LF made LF, as "
               "editors on Linux and macOS hand a filter their text). Output goes to a file in "
            << (outDir == "/dev/shm" ? "memory-backed /dev/shm" : "the work folder") << ". Each rule runs once "
            << "to warm up and have its output checked, then it, `cat` and the peer take turns for " << o.runs
            << " runs; a ratio is our time over the other's in the same turn (wall time, from start to exit), "
               "shown as the median with the lowest and highest in brackets. The CPU column is the median ratio "
               "of processor time (user and system) to `cat`'s, which other work on the machine disturbs less; "
               "the targets are judged on wall time. Peers run with `LC_ALL=C` ("
            << FirstLine("sed --version") << ", " << FirstLine("tr --version") << ").\n\n";
    section << table.str() << "\n";
    section << (missed.empty() ? std::string("Every target is met.") : "Not met: " + [&] {
        std::string list;
        for (const std::string& m : missed) list += (list.empty() ? "" : ", ") + m;
        return list;
    }() + ".") << "\n\n";
    section << "Title Case has no peer among the classic tools.\n\n";
    section << "The streaming rules hold a few MiB whatever the input size: snipkit-text reads blocks of 1 MiB "
               "into one buffer kept for the run, runs the rule on the lines read so far into one of two kept "
               "buffers, which a second thread writes out while the next piece is read and made, and carries "
               "the unfinished line over, so the output is the rule's on the whole text. A single line longer "
               "than a block makes its piece that long. Only comment-brace, comment-paren and uncomment of a "
               "block comment hold the whole text.\n\n";
    section << "The core's rules alone, called on the whole text as the toolbar calls them, are measured by "
               "`make bench-core`.\n";

    std::cout << section.str();
    if (!o.readme.empty()) {
        UpdateReadme(o.readme, section.str());
        std::cerr << "updated " << o.readme << "\n";
    }
    std::cerr << (missed.empty() ? std::string("every target met") : "targets NOT met: " + std::to_string(missed.size()))
              << "\n";
    return allAgree ? 0 : 1;
}
