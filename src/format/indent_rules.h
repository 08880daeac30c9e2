// Indent rules: shift the lines of a text right or left by blanks, and read
// the column counts typed into the dialogs' spin fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "format/line_list.h"

namespace snipkit {

// Range and start value of the Indent dialog's column field.
inline constexpr int kIndentColumnsMin = 0;
inline constexpr int kIndentColumnsMax = 16;
inline constexpr int kIndentColumnsDefault = 2;

// Range and start value of the if...then dialog's indent field.
inline constexpr int kIfIndentMin = 1;
inline constexpr int kIfIndentMax = 10;
inline constexpr int kIfIndentDefault = 2;

// n blanks before every counted line, empty ones too; n <= 0 changes nothing.
// The uncounted empty line after a final CR LF gets nothing. `ends` here and
// below says which breaks end a line.
std::string Indent(std::string_view text, int columns, LineEnds ends = LineEnds::CrLf);

// Removes up to n leading blanks from every counted line. A tab or any other
// non-blank ends the count, so blanks after a tab stay.
std::string Unindent(std::string_view text, int columns, LineEnds ends = LineEnds::CrLf);

// The same written to out, which has room for IndentRoom(text.size(),
// columns) bytes (Unindent: text.size()); each returns the end of what was
// written. For a caller that reuses one buffer (snipkit-text).
std::size_t IndentRoom(std::size_t textSize, int columns, LineEnds ends = LineEnds::CrLf);
char* Indent(std::string_view text, int columns, char* out, LineEnds ends = LineEnds::CrLf);
char* Unindent(std::string_view text, int columns, char* out, LineEnds ends = LineEnds::CrLf);

// A whole decimal number, optionally signed and surrounded by blanks; nothing
// for any other text or for a number outside the int range.
std::optional<int> ParseWholeNumber(std::string_view field);

// The Indent dialog's column count: no whole number counts as 0. Not clamped;
// holding the field within its range is the field's job.
int IndentColumnsFromField(std::string_view field);

// The if...then dialog's indent: no whole number counts as 1, and the value
// is used as it stands (below 1 gives no indent).
int IfIndentFromField(std::string_view field);

// Limits a count to the Indent dialog's field range.
int ClampIndentColumns(int columns);

}  // namespace snipkit
