// The case rules: length kept, only the 26 ASCII letters ever change, flip
// twice is the identity, upper and lower are idempotent, and Title Case
// capitalises exactly the letters that start a word.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/case_rules.h"
#include "fuzz_check.h"

namespace {

bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(unsigned char c) { return IsLower(c) || IsUpper(c); }
// Letters, digits and every byte from 0x80 belong to words.
bool IsWordByte(unsigned char c) { return IsLetter(c) || (c >= '0' && c <= '9') || c >= 0x80; }
unsigned char ToUpper(unsigned char c) { return IsLower(c) ? c - 0x20 : c; }
unsigned char ToLower(unsigned char c) { return IsUpper(c) ? c + 0x20 : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string upper = UpperCase(text);
    const std::string lower = LowerCase(text);
    const std::string flip = FlipCase(text);
    const std::string title = TitleCase(text);

    // The command entry point applies the same rules.
    FUZZ_CHECK(ApplyCaseRule(CaseRule::Upper, text) == upper);
    FUZZ_CHECK(ApplyCaseRule(CaseRule::Lower, text) == lower);
    FUZZ_CHECK(ApplyCaseRule(CaseRule::Flip, text) == flip);
    FUZZ_CHECK(ApplyCaseRule(CaseRule::Title, text) == title);

    FUZZ_CHECK(upper.size() == size && lower.size() == size && flip.size() == size && title.size() == size);
    FUZZ_CHECK(FlipCase(flip) == text);
    FUZZ_CHECK(UpperCase(upper) == upper);
    FUZZ_CHECK(LowerCase(lower) == lower);
    FUZZ_CHECK(UpperCase(lower) == upper);
    FUZZ_CHECK(LowerCase(upper) == lower);
    FUZZ_CHECK(TitleCase(title) == title);

    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = data[i];
        const auto u = static_cast<unsigned char>(upper[i]);
        const auto l = static_cast<unsigned char>(lower[i]);
        const auto f = static_cast<unsigned char>(flip[i]);
        const auto t = static_cast<unsigned char>(title[i]);
        if (!IsLetter(c)) {
            FUZZ_CHECK(u == c && l == c && f == c && t == c);
            continue;
        }
        FUZZ_CHECK(u == ToUpper(c));
        FUZZ_CHECK(l == ToLower(c));
        FUZZ_CHECK(f == (IsLower(c) ? ToUpper(c) : ToLower(c)));
        const bool startsWord = i == 0 || !IsWordByte(data[i - 1]);
        FUZZ_CHECK(t == (startsWord ? ToUpper(c) : ToLower(c)));
    }
    return 0;
}
