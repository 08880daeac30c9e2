#include "format/case_rules.h"

namespace snipkit {
namespace {

bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

template <typename Rule>
void MapBytes(std::string_view text, char* out, Rule rule) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(rule(in[i]));
}

// An ASCII letter and its other case differ in bit 0x20 alone.
constexpr unsigned char kCaseBit = 0x20;
bool IsLetter(unsigned char c) { return static_cast<unsigned char>((c | kCaseBit) - 'a') < 26; }

unsigned char Upper(unsigned char c) { return IsLower(c) ? c - kCaseBit : c; }
unsigned char Lower(unsigned char c) { return IsUpper(c) ? c + kCaseBit : c; }
unsigned char Flip(unsigned char c) { return IsLetter(c) ? c ^ kCaseBit : c; }

std::string Written(std::string_view text, void (*write)(std::string_view, char*)) {
    std::string out(text.size(), '\0');
    write(text, out.data());
    return out;
}

}  // namespace

void UpperCase(std::string_view text, char* out) { MapBytes(text, out, Upper); }
void LowerCase(std::string_view text, char* out) { MapBytes(text, out, Lower); }
void FlipCase(std::string_view text, char* out) { MapBytes(text, out, Flip); }

std::string UpperCase(std::string_view text) { return Written(text, UpperCase); }
std::string LowerCase(std::string_view text) { return Written(text, LowerCase); }
std::string FlipCase(std::string_view text) { return Written(text, FlipCase); }
std::string TitleCase(std::string_view text) { return Written(text, TitleCase); }

void TitleCase(std::string_view text, char* out) {
    // Digits and non-ASCII bytes belong to words ("2nd", "Grüße" keep their
    // inner letters); anything else ends one. So a letter's case depends on
    // the byte before it alone, and the loop carries nothing from one byte to
    // the next, which lets the compiler vectorise it.
    const auto inWord = [](unsigned char c) { return IsLetter(c) || IsDigit(c) || c >= 0x80; };
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    if (text.empty()) return;
    out[0] = static_cast<char>(Upper(in[0]));
    for (std::size_t i = 1; i < text.size(); ++i) {
        const unsigned char c = in[i];
        const unsigned char lowerBit = inWord(in[i - 1]) ? kCaseBit : 0;
        out[i] = static_cast<char>(IsLetter(c) ? (c & ~kCaseBit) | lowerBit : c);
    }
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

void ApplyCaseRule(CaseRule rule, std::string_view text, char* out) {
    switch (rule) {
        case CaseRule::Upper: UpperCase(text, out); return;
        case CaseRule::Lower: LowerCase(text, out); return;
        case CaseRule::Title: TitleCase(text, out); return;
        case CaseRule::Flip: FlipCase(text, out); return;
    }
}

}  // namespace snipkit
