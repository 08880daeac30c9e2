#include "stash/snippet_format.h"

#include <array>
#include <cctype>

#include "format/line_list.h"

namespace snipkit {
namespace {

bool IsForbiddenChar(char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("<>:\"/|?*").find(c) != std::string_view::npos;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Windows maps these names to devices whatever the extension, and ignores
// blanks before the extension too.
bool IsDeviceName(std::string_view step) {
    std::string_view base = step.substr(0, step.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    static constexpr std::array<std::string_view, 4> kFixed = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : kFixed) {
        if (EqualsNoCase(base, device)) return true;
    }
    if (!EqualsNoCase(base.substr(0, 3), "COM") && !EqualsNoCase(base.substr(0, 3), "LPT")) return false;
    const std::string_view number = base.substr(3);
    // The ports 1 to 9, and 1 to 3 with superscript digits (U+00B9, U+00B2, U+00B3).
    if (number.size() == 1) return number[0] >= '1' && number[0] <= '9';
    return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

// A trailing dot also refuses the "." and ".." steps.
bool IsUsableStep(std::string_view step) {
    if (step.empty() || step.back() == '.' || step.back() == ' ') return false;
    return !IsDeviceName(step);
}

}  // namespace

std::string SnippetFileContent(std::string_view description, std::string_view text) {
    LineList box(text);
    box.Add(kSnippetMarker + std::string(description));
    box.MoveLastToTop();
    return box.Text();
}

std::string StashFilePath(std::string_view stashFolder, std::string_view name) {
    std::string path;
    path.reserve(stashFolder.size() + name.size() + 4);
    path.append(stashFolder).append(name);
    const std::size_t stop = path.find_last_of(".\\:");
    if (stop != std::string::npos && path[stop] == '.') path.erase(stop);
    return path + kSnippetExtension;
}

StashNameCheck CheckStashName(std::string_view name) {
    if (name.empty()) return StashNameCheck::Empty;
    // The stash folder ends in a backslash, so the extension rule never
    // reaches into it: the name alone gives the part of the path below it.
    const std::string path = StashFilePath("", name);
    if (path.front() == '\\') return StashNameCheck::Refused;
    for (char c : path) {
        if (IsForbiddenChar(c)) return StashNameCheck::Refused;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') continue;
        if (!IsUsableStep(std::string_view(path).substr(start, i - start))) return StashNameCheck::Refused;
        start = i + 1;
    }
    return StashNameCheck::Usable;
}

std::string RefusedStashNameMessage(std::string_view name) {
    return kMsgRefusedNamePrefix + std::string(name);
}

std::string TooLongStashNameMessage(std::string_view name) { return kMsgNameTooLongPrefix + std::string(name); }

std::string TakeSnippet(std::string_view preview) {
    LineList lines(preview);
    lines.DeleteFirst();
    return lines.Text();
}

std::string PreviewText(std::string_view fileContent) { return NormalizeLineBreaks(fileContent); }

}  // namespace snipkit
