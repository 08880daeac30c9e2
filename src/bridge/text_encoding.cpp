#include "bridge/text_encoding.h"

#include "ui/wtf8.h"

namespace snipkit {

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = Utf8CharLength(p, bytes.size(), i, false);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if ((b & 0xC0) != 0x80) ++units;  // a character starts here
        if (b >= 0xF0) ++units;           // and needs a surrogate pair
    }
    return units;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// UTF-16 as UTF-8; a lone surrogate or a final odd byte becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, u);  // a lone surrogate comes out as U+FFFD
    }
    if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
    return out;
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes, const CodePage& ansi) {
    // Windows editors mark their Unicode files with a byte order mark, which
    // is no part of the text.
    if (StartsWith(bytes, kUtf16LeBom)) return Utf16ToUtf8(bytes.substr(2), false);
    if (StartsWith(bytes, kUtf16BeBom)) return Utf16ToUtf8(bytes.substr(2), true);
    if (StartsWith(bytes, kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return ansi.ToUtf8(bytes);
}

std::string EncodeTextFile(std::string_view utf8, const CodePage& ansi) {
    // The reader takes valid UTF-8 for UTF-8, so ANSI bytes that happen to
    // be valid UTF-8 ("Ã©" is C3 A9, the UTF-8 of "é") must go as UTF-8.
    const std::optional<std::string> fitted = ansi.FromUtf8(utf8);
    // ANSI bytes that start like a byte order mark (FF FE is "ÿþ") are caught
    // here too.
    if (fitted && DecodeTextFile(*fitted, ansi) == utf8) return *fitted;
    // The reader drops one UTF-8 BOM: a text that starts with U+FEFF gets a
    // second one, to keep its own.
    std::string bytes = StartsWith(utf8, kUtf8Bom) ? std::string(kUtf8Bom) + std::string(utf8) : std::string(utf8);
    // A UTF-16 surrogate without its partner (ED A0-BF xx inside) has no
    // UTF-8 form; the reader would take the whole file for ANSI. It is
    // written as U+FFFD, three bytes as well.
    if (!IsValidUtf8(bytes)) {
        for (std::size_t i = 0; i + 2 < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            if (static_cast<unsigned char>(bytes[i]) == 0xED && b >= 0xA0 && b <= 0xBF) bytes.replace(i, 3, "\xEF\xBF\xBD");
        }
    }
    return bytes;
}

}  // namespace snipkit
