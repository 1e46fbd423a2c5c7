#pragma once
// Move-only owners of Win32 handles: each handle has exactly one owner, which
// releases it once.
#include <windows.h>

#include <utility>

namespace br {

template <typename H, auto Release>
class Owned {
public:
    Owned() = default;
    explicit Owned(H handle) : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~Owned() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(H handle = nullptr) {
        if (handle_) Release(handle_);
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

inline void release_font(HFONT font) { DeleteObject(font); }
inline void release_bitmap(HBITMAP bitmap) { DeleteObject(bitmap); }
inline void release_dc(HDC dc) { DeleteDC(dc); }
inline void release_icon(HICON icon) { DestroyIcon(icon); }
inline void release_library(HMODULE library) { FreeLibrary(library); }

using Font = Owned<HFONT, release_font>;
using Bitmap = Owned<HBITMAP, release_bitmap>;
using MemoryDc = Owned<HDC, release_dc>;
using Icon = Owned<HICON, release_icon>;
using Library = Owned<HMODULE, release_library>;

// Selects an object into a DC for one scope and puts the old one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace br
