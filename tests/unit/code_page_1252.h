// Windows code page 1252 (Western European) as the tests' ANSI code page.
// Like Windows, it maps each of its five unassigned bytes to the C1 control
// of the same number, so every byte has a character and back.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/text_encoding.h"

namespace snipkit::testing {

class CodePage1252 : public CodePage {
public:
    // The character of a byte.
    static char32_t CharOf(unsigned char b) {
        static constexpr char32_t k80[32] = {
            0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        return b >= 0x80 && b < 0xA0 ? k80[b - 0x80] : b;
    }

    CodePage1252() {
        for (int b = 0x80; b <= 0xFF; ++b) {
            std::string utf8;
            AppendUtf8(utf8, CharOf(static_cast<unsigned char>(b)));
            byteOf_[utf8] = static_cast<char>(b);
        }
    }

    std::string ToUtf8(std::string_view bytes) const override {
        std::string out;
        for (char c : bytes) AppendUtf8(out, CharOf(static_cast<unsigned char>(c)));
        return out;
    }

    std::optional<std::string> FromUtf8(std::string_view utf8) const override {
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            if (len == 1) {
                out += utf8[i++];
                continue;
            }
            const auto it = byteOf_.find(std::string(utf8.substr(i, len)));
            if (it == byteOf_.end()) return std::nullopt;
            out += it->second;
            i += len;
        }
        return out;
    }

private:
    std::map<std::string, char> byteOf_;  // UTF-8 of a character above 0x7F -> its byte
};

}  // namespace snipkit::testing
