// Case rules: byte for byte, ASCII letters only, length kept. Bytes 0x80 and
// above pass through untouched, so UTF-8 text keeps every non-ASCII character.
#pragma once

#include <string>
#include <string_view>

namespace snipkit {

enum class CaseRule { Upper, Lower, Title, Flip };

std::string ApplyCaseRule(CaseRule rule, std::string_view text);
// The same written to out (text.size() bytes, not overlapping text).
void ApplyCaseRule(CaseRule rule, std::string_view text, char* out);

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
std::string FlipCase(std::string_view text);
// Upper-cases the first letter of every word and lower-cases the rest, where a
// word is a run of ASCII letters, digits and non-ASCII bytes (so neither a digit
// nor an accented letter capitalises the letter after it); an underscore ends a word, so "MAX_LINE_COUNT" becomes
// "Max_Line_Count" and "showMessage" becomes "Showmessage".
std::string TitleCase(std::string_view text);

// The same written to out, text.size() bytes; out and text do not overlap.
void UpperCase(std::string_view text, char* out);
void LowerCase(std::string_view text, char* out);
void FlipCase(std::string_view text, char* out);
void TitleCase(std::string_view text, char* out);

}  // namespace snipkit
