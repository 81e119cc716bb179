#pragma once
// Interface pointers are owned by ComPtr; nothing calls Release by hand.

#include <wrl/client.h>

namespace com {

using Microsoft::WRL::ComPtr;

// Takes over a reference the caller already owns. (MinGW's ComPtr::Attach
// adds a reference of its own, unlike the platform's, so it is not used.)
template <class T>
ComPtr<T> adopt(T* owned) noexcept {
    ComPtr<T> pointer;
    *pointer.GetAddressOf() = owned;
    return pointer;
}

}  // namespace com
