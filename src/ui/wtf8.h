// UTF-8 inside the program, UTF-16 at the Win32 calls. Windows does not
// check UTF-16: a text may hold a surrogate without its partner. Such a
// surrogate keeps its own three-byte form on the UTF-8 side (as WTF-8 writes
// it), so a text comes back from its UTF-8 form exactly as it was. Every
// other text gets plain UTF-8. Templates over the unit type, so that
// wchar_t (Windows) and char16_t (tests) take the same code.
#pragma once

#include <cstddef>
#include <string_view>

namespace snipkit {

// The length of the well-formed UTF-8 character at p[i] (of n bytes), or 0
// where none starts there. A surrogate's three-byte form counts as one only
// where `surrogates` allows it.
inline std::size_t Utf8CharLength(const unsigned char* p, std::size_t n, std::size_t i, bool surrogates) {
    const unsigned char c = p[i];
    if (c < 0x80) return 1;
    std::size_t len = 0;
    unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED && !surrogates) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (n - i < len || p[i + 1] < lo || p[i + 1] > hi) return 0;
    for (std::size_t k = 2; k < len; ++k) {
        if ((p[i + k] & 0xC0) != 0x80) return 0;
    }
    return len;
}

// The size of the UTF-8 form of n UTF-16 units.
template <typename Unit>
std::size_t Wtf8Size(const Unit* units, std::size_t n) {
    std::size_t size = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = static_cast<char16_t>(units[i]);
        if (c < 0x80) {
            size += 1;
        } else if (c < 0x800) {
            size += 2;
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && static_cast<char16_t>(units[i + 1]) >= 0xDC00 &&
                   static_cast<char16_t>(units[i + 1]) <= 0xDFFF) {
            size += 4;
            ++i;
        } else {
            size += 3;
        }
    }
    return size;
}

// The UTF-8 form of n UTF-16 units, written to out, which has room for
// Wtf8Size(units, n) bytes; returns how many were written.
template <typename Unit>
std::size_t Utf16ToWtf8(const Unit* units, std::size_t n, char* out) {
    char* const start = out;
    for (std::size_t i = 0; i < n; ++i) {
        char32_t c = static_cast<char16_t>(units[i]);
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n) {
            const char32_t low = static_cast<char16_t>(units[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));  // a lone surrogate too
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return static_cast<std::size_t>(out - start);
}

// The UTF-16 units of the bytes, written to out, which has room for
// bytes.size() units; returns how many were written. A byte that starts no
// well-formed character (nor a surrogate's three-byte form) gives U+FFFD.
template <typename Unit>
std::size_t Wtf8ToUtf16(std::string_view bytes, Unit* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    Unit* const start = out;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            *out++ = static_cast<Unit>(c);
            ++i;
            continue;
        }
        const std::size_t len = Utf8CharLength(p, n, i, true);
        if (len == 0) {
            *out++ = static_cast<Unit>(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = c & (0xFF >> (len + 1));
        for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (p[i + k] & 0x3F);
        if (cp >= 0x10000) {
            *out++ = static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
            *out++ = static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            *out++ = static_cast<Unit>(cp);
        }
        i += len;
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace snipkit
