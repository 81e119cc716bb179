#pragma once
// Owners for platform handles: one template per release rule, one name per
// use. Nothing else in the code calls a release function.

#include <windows.h>
#include <ocidl.h>

#include <utility>

namespace kolorit {

template <class Handle, auto Free>
class Owned {
public:
    Owned() noexcept = default;
    explicit Owned(Handle handle) noexcept : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~Owned() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) noexcept {
        if (handle_) Free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

// Device contexts from CreateCompatibleDC.
using MemoryDC = Owned<HDC, &::DeleteDC>;
// Pens, brushes, bitmaps, fonts and regions.
template <class Handle>
using GdiObject = Owned<Handle, &::DeleteObject>;

// Selects an object into a device context for one scope and selects the
// previous object back when the scope ends, also on an error path.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    explicit operator bool() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Handles travel through the automation interfaces as 32-bit values, signed
// in the type libraries; the platform sign-extends them to pointer width.
template <class Handle>
Handle handleFrom(OLE_HANDLE value) noexcept {
    return reinterpret_cast<Handle>(static_cast<LONG_PTR>(static_cast<int>(value)));
}
inline OLE_HANDLE handleValue(const void* handle) noexcept {
    return static_cast<OLE_HANDLE>(reinterpret_cast<LONG_PTR>(handle));
}

}  // namespace kolorit
