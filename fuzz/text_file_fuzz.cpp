// The program's text files (header comments, snippets): whatever bytes a
// file holds, reading gives valid UTF-8; what is written reads back as the
// same text, both for a text that was read and for any valid UTF-8 text.
// The ANSI code page is the tests' code page 1252.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bridge/text_encoding.h"
#include "code_page_1252.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    static const testing::CodePage1252 ansi;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = DecodeTextFile(bytes, ansi);
    FUZZ_CHECK(IsValidUtf8(text));
    FUZZ_CHECK(DecodeTextFile(EncodeTextFile(text, ansi), ansi) == text);

    if (IsValidUtf8(bytes)) FUZZ_CHECK(DecodeTextFile(EncodeTextFile(bytes, ansi), ansi) == bytes);
    return 0;
}
