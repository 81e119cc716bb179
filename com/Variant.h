#pragma once
// Owning wrappers for the automation runtime's VARIANT and SAFEARRAY.

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace com {

class Variant {
public:
    Variant() noexcept : value_{} {}
    explicit Variant(const VARIANT& copyOf) {
        value_ = VARIANT{};
        check(VariantCopy(&value_, const_cast<VARIANT*>(&copyOf)));
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : value_(other.value_) { other.value_ = VARIANT{}; }
    Variant& operator=(Variant&& other) noexcept {
        if (this != &other) {
            if (holdsResources(value_)) VariantClear(&value_);
            value_ = other.value_;
            other.value_ = VARIANT{};
        }
        return *this;
    }
    ~Variant() {
        if (holdsResources(value_)) VariantClear(&value_);
    }

    VARIANT* get() noexcept { return &value_; }
    const VARIANT* get() const noexcept { return &value_; }
    VARIANT* operator->() noexcept { return &value_; }
    VARIANT* reset() noexcept {
        if (holdsResources(value_)) VariantClear(&value_);
        value_ = VARIANT{};
        return &value_;
    }
    // Hands the value over to a caller-owned VARIANT.
    VARIANT release() noexcept {
        VARIANT out = value_;
        value_ = VARIANT{};
        return out;
    }

    // Whether the value owns a string, an object or an array; most own
    // nothing and are copied and dropped as they are.
    static bool holdsResources(const VARIANT& value) noexcept {
        const VARTYPE type = V_VT(&value);
        if (type & VT_BYREF) return false;
        return (type & VT_ARRAY) || type == VT_BSTR || type == VT_DISPATCH || type == VT_UNKNOWN || type == VT_RECORD;
    }

private:
    static void check(HRESULT hr);
    VARIANT value_;
};

// The automation conversion of a value to a scalar type, with the rule
// scripts need on top: an OLE_COLOR (VT_UI4) takes a Long's or an Integer's
// bit pattern, since a script holds &H8000000F as a negative Long. `out`
// must be empty; it stays empty when the conversion fails.
HRESULT convertScalar(VARIANT& out, const VARIANT& given, VARTYPE type) noexcept;

class SafeArray {
public:
    SafeArray() noexcept = default;
    explicit SafeArray(SAFEARRAY* owned) noexcept : array_(owned) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
    ~SafeArray() {
        if (array_) SafeArrayDestroy(array_);
    }

    SAFEARRAY* get() const noexcept { return array_; }
    SAFEARRAY* release() noexcept { return std::exchange(array_, nullptr); }

private:
    SAFEARRAY* array_ = nullptr;
};

// Keeps a safe array's data locked for one scope.
class ArrayAccess {
public:
    explicit ArrayAccess(SAFEARRAY* array);
    ArrayAccess(const ArrayAccess&) = delete;
    ArrayAccess& operator=(const ArrayAccess&) = delete;
    ~ArrayAccess() { SafeArrayUnaccessData(array_); }

    template <class T>
    T* data() const noexcept { return static_cast<T*>(data_); }

private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

// The number of elements of a one-dimensional array, from its lower bound to
// its upper bound; bounds that cannot be read raise run-time error 9.
int elementCount(SAFEARRAY* array);

}  // namespace com
