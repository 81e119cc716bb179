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

// The descriptions a type information hands out, each returned on scope exit.
class Attributes {
public:
    explicit Attributes(ITypeInfo* info) : info_(info) { check(info->GetTypeAttr(&attr_), "GetTypeAttr"); }
    ~Attributes() { info_->ReleaseTypeAttr(attr_); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;
    const TYPEATTR* operator->() const { return attr_; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

class Function {
public:
    Function(ITypeInfo* info, UINT index) : info_(info) { check(info->GetFuncDesc(index, &desc_), "GetFuncDesc"); }
    ~Function() { info_->ReleaseFuncDesc(desc_); }
    Function(const Function&) = delete;
    Function& operator=(const Function&) = delete;
    const FUNCDESC* operator->() const { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

class Variable {
public:
    Variable(ITypeInfo* info, UINT index) : info_(info) { check(info->GetVarDesc(index, &desc_), "GetVarDesc"); }
    ~Variable() { info_->ReleaseVarDesc(desc_); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;
    const VARDESC* operator->() const { return desc_; }

private:
    ITypeInfo* info_;
    VARDESC* desc_ = nullptr;
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
