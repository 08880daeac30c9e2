// The stash name check: no name it accepts leads, through the file path the
// save uses, out of the stash folder or to anything Windows would read other
// than a plain file name below it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "stash/snippet_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const StashNameCheck check = CheckStashName(name);
    FUZZ_CHECK((check == StashNameCheck::Empty) == name.empty());
    if (check != StashNameCheck::Usable) return 0;

    const std::string folder = "C:\\Snipkit\\stash\\";
    const std::string path = StashFilePath(folder, name);
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
    const std::string below = path.substr(folder.size());
    FUZZ_CHECK(below.size() >= 4 && below.compare(below.size() - 4, 4, kSnippetExtension) == 0);
    // No drive, no stream, no absolute or UNC path; '/' separates steps on
    // Windows too, so it must not sneak one in.
    FUZZ_CHECK(below.find(':') == std::string::npos);
    FUZZ_CHECK(below.find('/') == std::string::npos);
    FUZZ_CHECK(below.front() != '\\');

    // Walk the steps as Windows resolves them: it drops trailing dots and
    // blanks, "." stays and ".." goes up. No step may be empty, climb, or
    // be altered by that stripping.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= below.size(); ++i) {
        if (i < below.size() && below[i] != '\\') continue;
        const std::string_view step = std::string_view(below).substr(start, i - start);
        FUZZ_CHECK(!step.empty());
        FUZZ_CHECK(step != "." && step != "..");
        FUZZ_CHECK(step.back() != '.' && step.back() != ' ');
        for (char c : step) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
        start = i + 1;
    }
    return 0;
}
