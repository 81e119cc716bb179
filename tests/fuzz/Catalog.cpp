#include "Catalog.h"

#include <stdexcept>

namespace fuzz {

using com::ComPtr;

namespace {

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(what);
}

std::wstring take(BSTR text) {
    std::wstring out = text ? text : L"";
    SysFreeString(text);
    return out;
}

void resolve(ITypeInfo* info, const TYPEDESC& type, Parameter& into);

void resolveUserDefined(ITypeInfo* info, HREFTYPE reference, Parameter& into) {
    ComPtr<ITypeInfo> target;
    check(info->GetRefTypeInfo(reference, &target), "GetRefTypeInfo");
    TYPEATTR* attr = nullptr;
    check(target->GetTypeAttr(&attr), "GetTypeAttr");
    switch (attr->typekind) {
    case TKIND_ENUM: into.type = VT_I4; break;
    case TKIND_ALIAS: resolve(target.Get(), attr->tdescAlias, into); break;
    case TKIND_INTERFACE:
    case TKIND_DISPATCH:
        into.type = VT_DISPATCH;
        into.objectInterface = attr->guid;
        break;
    case TKIND_RECORD: into.type = VT_RECORD; break;
    default: into.type = VT_EMPTY; break;
    }
    target->ReleaseTypeAttr(attr);
}

void resolve(ITypeInfo* info, const TYPEDESC& type, Parameter& into) {
    switch (type.vt) {
    case VT_PTR:
        resolve(info, *type.lptdesc, into);
        if (into.type != VT_DISPATCH || into.byReference) into.byReference = true;
        break;
    case VT_SAFEARRAY: {
        Parameter element;
        resolve(info, *type.lptdesc, element);
        into.type = static_cast<VARTYPE>(VT_ARRAY | element.type);
        break;
    }
    case VT_USERDEFINED: resolveUserDefined(info, type.hreftype, into); break;
    case VT_UNKNOWN: into.type = VT_DISPATCH; break;
    case VT_INT: into.type = VT_I4; break;
    case VT_UINT: into.type = VT_UI4; break;
    default: into.type = type.vt; break;
    }
}

WORD flagsOf(INVOKEKIND kind) {
    switch (kind) {
    case INVOKE_PROPERTYGET: return DISPATCH_PROPERTYGET;
    case INVOKE_PROPERTYPUT: return DISPATCH_PROPERTYPUT;
    case INVOKE_PROPERTYPUTREF: return DISPATCH_PROPERTYPUTREF;
    default: return DISPATCH_METHOD;
    }
}

}  // namespace

std::wstring Member::title() const {
    const wchar_t* kind = flags == DISPATCH_PROPERTYGET   ? L" [get]"
                          : flags == DISPATCH_PROPERTYPUT ? L" [let]"
                          : flags == DISPATCH_PROPERTYPUTREF ? L" [set]"
                                                             : L"";
    return interfaceName + L"." + name + kind;
}

Catalog::Catalog(const std::vector<std::wstring>& modules) {
    for (const std::wstring& module : modules) {
        ComPtr<ITypeLib> library;
        check(LoadTypeLibEx(module.c_str(), REGKIND_NONE, &library), "LoadTypeLibEx");
        read(library.Get());
    }
}

void Catalog::read(ITypeLib* library) {
    for (UINT i = 0, n = library->GetTypeInfoCount(); i < n; ++i) {
        ComPtr<ITypeInfo> info;
        if (FAILED(library->GetTypeInfo(i, &info))) continue;
        TYPEATTR* attr = nullptr;
        if (FAILED(info->GetTypeAttr(&attr))) continue;
        // Dual interfaces only: the event interface is what sinks implement.
        const bool dual = (attr->wTypeFlags & TYPEFLAG_FDUAL) != 0;
        const IID id = attr->guid;
        info->ReleaseTypeAttr(attr);
        if (!dual) continue;
        BSTR name = nullptr;
        library->GetDocumentation(static_cast<INT>(i), &name, nullptr, nullptr, nullptr);
        // The vtable half lists the interface's own members with their real types.
        ComPtr<ITypeInfo> vtable = info;
        HREFTYPE half = 0;
        if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &half))) {
            ComPtr<ITypeInfo> found;
            if (SUCCEEDED(info->GetRefTypeInfo(half, &found))) vtable = found;
        }
        const std::wstring interfaceName = take(name);
        interfaces_.push_back(Interface{interfaceName, id});
        readInterface(vtable.Get(), interfaceName, id);
    }
}

void Catalog::readInterface(ITypeInfo* info, const std::wstring& interfaceName, const IID& id) {
    TYPEATTR* attr = nullptr;
    check(info->GetTypeAttr(&attr), "GetTypeAttr");
    const WORD count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    for (UINT f = 0; f < count; ++f) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(f, &desc))) continue;
        Member member;
        member.interfaceName = interfaceName;
        member.interfaceId = id;
        member.id = desc->memid;
        member.flags = flagsOf(desc->invkind);
        BSTR names[32] = {};
        UINT found = 0;
        info->GetNames(desc->memid, names, 32, &found);
        member.name = found > 0 ? names[0] : L"?";
        for (SHORT p = 0; p < desc->cParams; ++p) {
            const ELEMDESC& element = desc->lprgelemdescParam[p];
            const USHORT flags = element.paramdesc.wParamFlags;
            Parameter parameter;
            resolve(info, element.tdesc, parameter);
            if (flags & PARAMFLAG_FRETVAL) {
                member.returnsObject = parameter.type == VT_DISPATCH;
                continue;
            }
            parameter.optional = (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
            // A property's last parameter is the value to set; it has no name.
            parameter.name = static_cast<UINT>(p + 1) < found && names[p + 1] ? names[p + 1] : L"Value";
            member.parameters.push_back(parameter);
        }
        for (UINT n = 0; n < found; ++n) SysFreeString(names[n]);
        const bool restricted = (desc->wFuncFlags & FUNCFLAG_FRESTRICTED) != 0;
        info->ReleaseFuncDesc(desc);
        if (!restricted) members_.push_back(std::move(member));
    }
}

}  // namespace fuzz
