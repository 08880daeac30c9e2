// Owning wrappers for the Win32 handles the shell creates: each frees its
// handle exactly once, so they move but never copy.
#pragma once

#include <windows.h>

#include <utility>

namespace snipkit::win {

template <typename Handle, typename Deleter>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Handle{}));
        return *this;
    }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Handle{}; }
    Handle release() noexcept { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{}) noexcept {
        if (h_ != Handle{}) Deleter{}(h_);
        h_ = h;
    }

private:
    Handle h_{};
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const noexcept { DestroyMenu(h); }
};
struct IconDeleter {
    void operator()(HICON h) const noexcept { DestroyIcon(h); }
};

using FontHandle = UniqueHandle<HFONT, GdiObjectDeleter>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using MenuHandle = UniqueHandle<HMENU, MenuDeleter>;
using IconHandle = UniqueHandle<HICON, IconDeleter>;

}  // namespace snipkit::win
