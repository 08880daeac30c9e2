#include "format/case_rules.h"

namespace snipkit {
namespace {

bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

template <typename Rule>
std::string MapBytes(std::string_view text, Rule rule) {
    std::string out(text.size(), '\0');
    // Plain pointers: a store through out[i] could alias the string's own
    // pointer, which keeps the compiler from vectorising the loop.
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    char* o = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) o[i] = static_cast<char>(rule(in[i]));
    return out;
}

}  // namespace

std::string UpperCase(std::string_view text) {
    return MapBytes(text, [](unsigned char c) -> unsigned char { return IsLower(c) ? c - 0x20 : c; });
}

std::string LowerCase(std::string_view text) {
    return MapBytes(text, [](unsigned char c) -> unsigned char { return IsUpper(c) ? c + 0x20 : c; });
}

std::string FlipCase(std::string_view text) {
    return MapBytes(text, [](unsigned char c) -> unsigned char {
        return IsLower(c) ? c - 0x20 : IsUpper(c) ? c + 0x20 : c;
    });
}

std::string TitleCase(std::string_view text) {
    std::string out(text.size(), '\0');
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned char r = c;
        if (IsLower(c) || IsUpper(c)) {
            if (!inWord && IsLower(c)) r = c - 0x20;
            if (inWord && IsUpper(c)) r = c + 0x20;
            inWord = true;
        } else {
            // Digits and non-ASCII bytes belong to words ("2nd", "Grüße" keep their
            // inner letters); anything else ends one.
            inWord = IsDigit(c) || c >= 0x80;
        }
        out[i] = static_cast<char>(r);
    }
    return out;
}

std::string ApplyCaseRule(CaseRule rule, std::string_view text) {
    switch (rule) {
        case CaseRule::Upper: return UpperCase(text);
        case CaseRule::Lower: return LowerCase(text);
        case CaseRule::Title: return TitleCase(text);
        case CaseRule::Flip: return FlipCase(text);
    }
    return std::string(text);
}

}  // namespace snipkit
