// The stash name check: no name it accepts leads, through the file path the
// save uses, out of the stash folder or to anything Windows would read other
// than a plain file name below it; and every name it refuses has one of the
// kinds it names (a way out of the folder, a character Windows refuses, an
// empty step, a step ending in a dot or blank, a device name).
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "stash/snippet_format.h"

namespace {

// Windows takes a step for a device when its part before the first dot,
// without the blanks at its end, is one of these in any case of the ASCII
// letters; the ports also with the superscript digits ¹ ² ³.
bool IsDevice(std::string_view step) {
    std::string base(step.substr(0, step.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    static const std::set<std::string> devices = [] {
        std::set<std::string> names{"CON", "PRN", "AUX", "NUL"};
        for (const char* port : {"COM", "LPT"}) {
            for (char d = '1'; d <= '9'; ++d) names.insert(std::string(port) + d);
            for (const char* sup : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"}) names.insert(std::string(port) + sup);
        }
        return names;
    }();
    return devices.count(base) > 0;
}

// What the path below the stash folder must not hold.
bool HasRefusedKind(std::string_view below) {
    if (below.empty() || below.front() == '\\') return true;  // absolute or UNC
    // ':' makes a drive or a stream, and '/' separates steps on Windows too.
    for (char c : below) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"/|?*").find(c) != std::string_view::npos) {
            return true;
        }
    }
    // Windows drops trailing dots and blanks of a step, "." stays and ".."
    // goes up (both end in a dot): no step may be empty, climb, or be
    // altered by that stripping.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= below.size(); ++i) {
        if (i < below.size() && below[i] != '\\') continue;
        const std::string_view step = below.substr(start, i - start);
        if (step.empty() || step.back() == '.' || step.back() == ' ' || IsDevice(step)) return true;
        start = i + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const StashNameCheck check = CheckStashName(name);
    FUZZ_CHECK((check == StashNameCheck::Empty) == name.empty());
    if (check == StashNameCheck::Empty) return 0;

    const std::string folder = "C:\\Snipkit\\stash\\";
    const std::string path = StashFilePath(folder, name);
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
    const std::string below = path.substr(folder.size());
    // Usable exactly when no refused kind is in the path below the folder.
    FUZZ_CHECK((check == StashNameCheck::Refused) == HasRefusedKind(below));
    if (check == StashNameCheck::Usable) {
        FUZZ_CHECK(below.size() >= 4 && below.compare(below.size() - 4, 4, kSnippetExtension) == 0);
    }
    return 0;
}
