#include "pascal_text.h"

#include <array>
#include <string_view>

namespace snipkit::bench {
namespace {

// splitmix64: fast, and the same numbers on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    template <typename T, std::size_t N>
    std::string_view Pick(const std::array<T, N>& items) { return items[Below(N)]; }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 12> kNames = {
    "Count", "Index", "Total", "Buffer", "Caption", "Sender", "FItems", "Result", "Gr\xF6\xDF" "e", "Line", "Stream",
    "Owner"};
constexpr std::array<std::string_view, 8> kCalls = {
    "ShowMessage", "WriteLn", "Inc", "FreeAndNil", "Application.ProcessMessages", "Memo1.Lines.Add", "Assert",
    "Exit"};
constexpr std::array<std::string_view, 8> kWords = {
    "caf\xE9", "\xDC" "bersicht", "na\xEF" "ve", "the loop", "TODO", "r\xE9sum\xE9", "check this", "fixed"};

void Indent(std::string& out, int level, Random& rng) {
    // Now and then a tab, as pasted code has.
    if (level > 0 && rng.Below(40) == 0) {
        out += '\t';
        --level;
    }
    out.append(static_cast<std::size_t>(level) * 2, ' ');
}

void Statement(std::string& out, int level, Random& rng) {
    Indent(out, level, rng);
    switch (rng.Below(10)) {
        case 0:
        case 1:
        case 2:
            out.append(rng.Pick(kNames)).append(" := ").append(rng.Pick(kNames)).append(" + ");
            out.append(std::to_string(rng.Below(1000))).append(";");
            break;
        case 3:
        case 4:
            out.append(rng.Pick(kCalls)).append("('").append(rng.Pick(kWords)).append(" ");
            out.append(std::to_string(rng.Below(100))).append("');");
            break;
        case 5:
            out.append("// ").append(rng.Pick(kWords)).append(": ").append(rng.Pick(kNames));
            break;
        case 6:
            out.append("{ ").append(rng.Pick(kWords)).append(" } ").append(rng.Pick(kCalls)).append(";");
            break;
        case 7:
            out.append("if ").append(rng.Pick(kNames)).append(" > 0 then ").append(rng.Pick(kCalls)).append("(1);");
            break;
        case 8:
            // A long line: a message built from many pieces.
            if (rng.Below(8) == 0) {
                out.append("S := '");
                for (std::size_t n = 50 + rng.Below(400); n > 0; --n) out.append(rng.Pick(kWords)).append(", ");
                out.append("';");
            } else {
                out.append(rng.Pick(kNames)).append("[I] := Chr(Ord('a') + I);");
            }
            break;
        default:
            out.append("for I := 0 to ").append(rng.Pick(kNames)).append(" - 1 do ").append(rng.Pick(kCalls));
            out.append("(I);");
            break;
    }
    out += "\r\n";
}

void Block(std::string& out, int level, Random& rng) {
    for (std::size_t n = 2 + rng.Below(8); n > 0; --n) {
        const std::size_t kind = rng.Below(12);
        if (kind == 0) {
            out += "\r\n";
        } else if (kind == 1 && level < 7) {
            Indent(out, level, rng);
            out.append(rng.Below(2) ? "while " : "if ").append(rng.Pick(kNames)).append(" <> nil do begin\r\n");
            Block(out, level + 1, rng);
            Indent(out, level, rng);
            out += "end;\r\n";
        } else {
            Statement(out, level, rng);
        }
    }
}

}  // namespace

std::string PascalLikeText(std::size_t bytes, std::uint64_t seed) {
    Random rng(seed);
    std::string out;
    out.reserve(bytes + 64 * 1024);
    out += "unit Generated;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\n";
    for (int routine = 0; out.size() < bytes; ++routine) {
        out.append("procedure TForm1.Handler").append(std::to_string(routine)).append("(Sender: TObject);\r\n");
        out += "var\r\n  I: Integer;\r\nbegin\r\n";
        Block(out, 1, rng);
        out += "end;\r\n\r\n";
    }
    out += "end.\r\n";
    return out;
}

}  // namespace snipkit::bench
