// Byte-level encoding helpers shared by the clipboard and file code, and the
// rules by which the program's text files are read and written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace snipkit {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// The length of a valid UTF-8 text in UTF-16 code units, as Windows counts.
std::size_t Utf16Length(std::string_view utf8);

// Appends the UTF-8 form of a code point (U+FFFD for a surrogate or one
// beyond U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

// A code page of the system as its conversions to and from UTF-8; the
// Win32 shell gives the ANSI code page, tests a fixed table.
class CodePage {
public:
    virtual ~CodePage() = default;
    // The text the bytes stand for.
    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    // The bytes of a UTF-8 text; nothing when a character has none here.
    virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
};

// The text of one of the program's files (header comments, snippets): a
// UTF-8 byte order mark dropped; after a UTF-16 LE or BE byte order mark,
// UTF-16; otherwise UTF-8 when the bytes are valid UTF-8, else ANSI.
std::string DecodeTextFile(std::string_view bytes, const CodePage& ansi);

// The bytes a text is written with: ANSI when every character fits the
// code page and DecodeTextFile reads those bytes back as the same text (no
// byte above 0x7F, or bytes that are not UTF-8 and start with no byte order
// mark), else UTF-8 (with a BOM in front when the text starts with U+FEFF).
std::string EncodeTextFile(std::string_view utf8, const CodePage& ansi);

}  // namespace snipkit
