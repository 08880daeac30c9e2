// Comment rules: turn a selection into an Object Pascal comment in one of the
// three styles, and take a recognised comment off again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "format/line_list.h"

namespace snipkit {

// "//" at the very start of every counted line, before any indentation. An
// empty last line after a final CR LF stays empty. WorkText is emptied by
// this command. `ends` here and below says which breaks end a line.
std::string CommentSlash(std::string_view text, LineEnds ends = LineEnds::CrLf);

// The same written to out, which has room for CommentSlashRoom(text.size())
// bytes; returns the end of what was written. For a caller that reuses one
// buffer (snipkit-text).
std::size_t CommentSlashRoom(std::size_t textSize, LineEnds ends = LineEnds::CrLf);
char* CommentSlash(std::string_view text, char* out, LineEnds ends = LineEnds::CrLf);

// "{ " + text + " }" and "(* " + text + " *)"; the text inside is not looked
// at. WorkText keeps the captured text.
std::string CommentBrace(std::string_view text);
std::string CommentParen(std::string_view text);

// Drops every leading and trailing byte 0x00-0x20; the inside is untouched.
std::string_view Trim(std::string_view text);

struct UncommentResult {
    // What to paste; empty optional means paste nothing (an unmatched brace
    // or parenthesis-asterisk comment, or a text of blanks only).
    std::optional<std::string> paste;
};

// Trims the text, then removes the outer "{...}" or "(*...*)" pair, or one
// "//" from every counted line that starts with it. The CR and LF bytes the
// trim took off either end go back on at that end, in their order, so whole
// lines stay whole lines and nothing is joined to the text around the
// selection; the blanks and other control bytes there stay off.
UncommentResult Uncomment(std::string_view text, LineEnds ends = LineEnds::CrLf);

// Uncomment's paste written to out, which has room for text.size() bytes:
// returns the end of what was written, or nullptr where Uncomment pastes
// nothing.
char* Uncomment(std::string_view text, char* out, LineEnds ends = LineEnds::CrLf);

}  // namespace snipkit
