#pragma once
// Reference counting and QueryInterface for the frame's small helper objects
// (class factories, enumerators) that offer one interface besides IUnknown.
// Like every object of the component they keep the module loaded while they
// live.

#include "Module.h"

#include <unknwn.h>

namespace com {

template <class Interface>
class Unknown : public Interface {
public:
    Unknown(const Unknown&) = delete;
    Unknown& operator=(const Unknown&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, __uuidof(Interface))) return E_NOINTERFACE;
        AddRef();
        *out = static_cast<Interface*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

protected:
    Unknown() { objectCreated(); }
    virtual ~Unknown() { objectDestroyed(); }

private:
    LONG references_ = 1;
};

}  // namespace com
