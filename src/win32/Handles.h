// Owners of Windows handles, so that none is freed by hand and no way out of a function leaks
// one: GDI objects (fonts, brushes, pens), icons, cursors and registry keys.
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

template <typename Handle, typename Free>
class Owned {
  public:
    Owned() = default;
    // Takes over a handle that the caller made.
    explicit Owned(Handle adopted) : handle_(adopted) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Frees the handle held, and holds `adopted` instead.
    void reset(Handle adopted = nullptr) {
        if (handle_) Free{}(handle_);
        handle_ = adopted;
    }
    // For functions that hand a new handle out through a pointer argument.
    Handle* out() {
        reset();
        return &handle_;
    }

  private:
    Handle handle_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyCursorHandle {
    void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};
struct CloseRegistryKey {
    void operator()(HKEY key) const { RegCloseKey(key); }
};

using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, DeleteGdiObject>;
using OwnedPen = Owned<HPEN, DeleteGdiObject>;
using OwnedIcon = Owned<HICON, DestroyIconHandle>;
using OwnedCursor = Owned<HCURSOR, DestroyCursorHandle>;
using OwnedKey = Owned<HKEY, CloseRegistryKey>;

}  // namespace win32
