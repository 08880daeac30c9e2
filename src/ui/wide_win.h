// UTF-8 inside the program, UTF-16 at the Win32 calls: the conversions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/wtf8.h"

namespace snipkit {

// A surrogate without its partner survives the trip (see wtf8.h), which
// the system's CP_UTF8 conversions would turn into U+FFFD.
inline std::wstring Utf8ToWide(std::string_view s) {
    std::wstring w(s.size(), L'\0');
    w.resize(Wtf8ToUtf16(s, w.data()));
    return w;
}

inline std::string WideToUtf8(std::wstring_view w) {
    std::string s(Wtf8Size(w.data(), w.size()), '\0');
    Utf16ToWtf8(w.data(), w.size(), s.data());
    return s;
}

}  // namespace snipkit
