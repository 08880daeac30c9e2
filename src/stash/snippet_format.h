// The stash's file format and naming: one snippet per ".pas" file whose
// first line is a marker followed by the description.
#pragma once

#include <string>
#include <string_view>

namespace snipkit {

inline constexpr const char* kSnippetMarker = "//SNIPKIT:";
inline constexpr const char* kStashFolderName = "stash\\";
inline constexpr const char* kSnippetExtension = ".pas";

inline constexpr const char* kMsgNeedFileName = "You need to enter a filename to save this piece of code.";
inline constexpr const char* kCapCantSave = "Can't save";
inline constexpr const char* kMsgRefusedNamePrefix = "This file name can't be used in the stash: ";
inline constexpr const char* kMsgNameTooLongPrefix = "This file name is too long for the stash: ";

// The file content: the marker line with the description, then the text
// with one CR LF added unless it already ends in CR LF (an empty text adds
// nothing). It is also what the save dialog's text box shows after a save.
std::string SnippetFileContent(std::string_view description, std::string_view text);

// The file a typed name is saved to: stash folder (ending in a backslash) +
// name, with everything from a final '.' (one not followed by '\' or ':')
// replaced by ".pas", or ".pas" appended when there is none.
std::string StashFilePath(std::string_view stashFolder, std::string_view name);

enum class StashNameCheck { Usable, Empty, Refused };

// Whether a typed name may be saved. Refused: a name that would leave the
// stash folder or that Windows can't store (absolute or drive paths, "..",
// ':', < > " / | ? *, control characters, empty steps, steps ending in a dot
// or blank, device names such as CON, LPT1 or COM¹), judged on the path the
// name gives after the extension rule.
StashNameCheck CheckStashName(std::string_view name);

// kMsgRefusedNamePrefix followed by the name.
std::string RefusedStashNameMessage(std::string_view name);
// kMsgNameTooLongPrefix followed by the name.
std::string TooLongStashNameMessage(std::string_view name);

// The snippet a preview text gives: its first line and line break dropped,
// whatever that line holds; the rest unchanged.
std::string TakeSnippet(std::string_view preview);

// A file as the preview shows it: every lone CR and lone LF made CR LF.
std::string PreviewText(std::string_view fileContent);

}  // namespace snipkit
