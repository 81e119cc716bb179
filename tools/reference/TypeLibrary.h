#pragma once
// Reading a type library: its descriptions held for a scope, names and help
// texts, referenced types, and where a dual interface lists its functions.
// Shared by the reference generator, the fuzzer and the object-model test.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace typelib {

inline void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
        char text[96];
        std::snprintf(text, sizeof text, "%s failed (%08lX)", what, static_cast<unsigned long>(hr));
        throw std::runtime_error(text);
    }
}

// A description a type information hands out, given back on scope exit.
template <class Description>
class Held {
public:
    using Release = void (STDMETHODCALLTYPE ITypeInfo::*)(Description*);
    Held(ITypeInfo* info, Release release) : info_(info), release_(release) {}
    ~Held() {
        if (desc_) (info_->*release_)(desc_);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    const Description* operator->() const { return desc_; }

protected:
    ITypeInfo* info_;
    Release release_;
    Description* desc_ = nullptr;
};

struct Attributes : Held<TYPEATTR> {
    explicit Attributes(ITypeInfo* info) : Held(info, &ITypeInfo::ReleaseTypeAttr) {
        check(info->GetTypeAttr(&desc_), "GetTypeAttr");
    }
};

struct Function : Held<FUNCDESC> {
    Function(ITypeInfo* info, UINT index) : Held(info, &ITypeInfo::ReleaseFuncDesc) {
        check(info->GetFuncDesc(index, &desc_), "GetFuncDesc");
    }
};

struct Variable : Held<VARDESC> {
    Variable(ITypeInfo* info, UINT index) : Held(info, &ITypeInfo::ReleaseVarDesc) {
        check(info->GetVarDesc(index, &desc_), "GetVarDesc");
    }
};

struct Documentation {
    std::wstring name;
    std::wstring text;
};

inline std::wstring take(BSTR text) {
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

inline Documentation documentation(ITypeInfo* info, MEMBERID id) {
    BSTR name = nullptr, text = nullptr;
    check(info->GetDocumentation(id, &name, &text, nullptr, nullptr), "GetDocumentation");
    return {take(name), take(text)};
}

inline Documentation documentation(ITypeLib* library, INT index) {
    BSTR name = nullptr, text = nullptr;
    check(library->GetDocumentation(index, &name, &text, nullptr, nullptr), "GetDocumentation");
    return {take(name), take(text)};
}

inline Microsoft::WRL::ComPtr<ITypeInfo> referenced(ITypeInfo* context, HREFTYPE type) {
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    check(context->GetRefTypeInfo(type, &info), "GetRefTypeInfo");
    return info;
}

// The functions of a dual interface live in its interface half.
inline Microsoft::WRL::ComPtr<ITypeInfo> functionsOf(ITypeInfo* face) {
    const Attributes attr(face);
    if (attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL)) {
        HREFTYPE half = 0;
        check(face->GetRefTypeOfImplType(-1, &half), "GetRefTypeOfImplType");
        return referenced(face, half);
    }
    return Microsoft::WRL::ComPtr<ITypeInfo>(face);
}

}  // namespace typelib
