#pragma once
// The base of every automation object of both components: reference
// counting, IDispatch served from the embedded type library, error-info
// support and class information. A class names its default (dual)
// interface and its coclass:
//
//   class GDIPen : public com::Object<GDIPen, _GDIPen> {
//   public:
//       static const CLSID& classId() { return CLSID_GDIPen; }
//       ...
//   };
//
// and creates instances with GDIPen::create(...). A class that offers more
// interfaces defines queryOther(); an event source defines eventInterface().

#include "Invoker.h"
#include "Module.h"
#include "Ptr.h"

#include <ocidl.h>

#include <utility>

namespace com {

template <class Derived, class Interface>
class Object : public Interface, public ISupportErrorInfo, public IProvideClassInfo2 {
public:
    template <class... Args>
    static ComPtr<Derived> create(Args&&... args) {
        ComPtr<Derived> object;
        // Takes over the new object's first reference (MinGW's ComPtr::Attach
        // would add a second one).
        *object.GetAddressOf() = new Derived(std::forward<Args>(args)...);
        return object;
    }

    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        IUnknown* found = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(Interface)))
            found = static_cast<Interface*>(this);
        else if (IsEqualIID(iid, IID_ISupportErrorInfo))
            found = static_cast<ISupportErrorInfo*>(this);
        else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))
            found = static_cast<IProvideClassInfo2*>(this);
        else
            found = static_cast<Derived*>(this)->queryOther(iid);
        *out = found;
        if (!found) return E_NOINTERFACE;
        found->AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return typeInfo([&](const InterfaceInfo& i) { return i.dispatchInfo.CopyTo(info); });
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        const DispatchTable* table = dispatchTable();
        return table ? table->idsOfNames(names, count, ids) : TYPE_E_CANTLOADLIBRARY;
    }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override {
        const DispatchTable* table = dispatchTable();
        if (!table) return TYPE_E_CANTLOADLIBRARY;
        return invoke(*table, static_cast<Interface*>(this), member, flags, params, result, exception, argumentError);
    }

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
        return IsEqualIID(iid, __uuidof(Interface)) ? S_OK : S_FALSE;
    }

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        try {
            return typeInfoOf(Derived::classId()).CopyTo(info);
        } catch (...) {
            return TYPE_E_ELEMENTNOTFOUND;
        }
    }
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
        if (!guid) return E_POINTER;
        const IID* events = Derived::eventInterface();
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID || !events) return E_INVALIDARG;
        *guid = *events;
        return S_OK;
    }

protected:
    Object() { objectCreated(); }
    virtual ~Object() { objectDestroyed(); }

    IUnknown* queryOther(REFIID) { return nullptr; }
    static const IID* eventInterface() { return nullptr; }

private:
    // Found once per class: late-bound calls then touch neither the type
    // library nor a lock.
    static const DispatchTable* dispatchTable() noexcept {
        try {
            static const DispatchTable& table = DispatchTable::of(interfaceInfo(__uuidof(Interface)).vtableInfo.Get());
            return &table;
        } catch (...) {
            return nullptr;
        }
    }

    template <class Use>
    static HRESULT typeInfo(Use&& use) noexcept {
        try {
            return use(interfaceInfo(__uuidof(Interface)));
        } catch (...) {
            return TYPE_E_CANTLOADLIBRARY;
        }
    }

    LONG references_ = 1;
};

}  // namespace com
