#include "Catalog.h"

#include "tools/reference/TypeLibrary.h"

namespace fuzz {

using namespace typelib;

namespace {

void resolve(ITypeInfo* info, const TYPEDESC& type, Parameter& into) {
    switch (type.vt) {
    case VT_PTR:
        resolve(info, *type.lptdesc, into);
        if (into.type != VT_DISPATCH || into.byReference) into.byReference = true;
        break;
    case VT_SAFEARRAY: {
        Parameter element;
        resolve(info, *type.lptdesc, element);
        into.type = VARTYPE(VT_ARRAY | element.type);
        break;
    }
    case VT_USERDEFINED: {
        const com::ComPtr<ITypeInfo> target = referenced(info, type.hreftype);
        const Attributes attr(target.Get());
        if (attr->typekind == TKIND_ALIAS) resolve(target.Get(), attr->tdescAlias, into);
        else if (attr->typekind == TKIND_ENUM) into.type = VT_I4;
        else if (attr->typekind == TKIND_RECORD) into.type = VT_RECORD;
        else into.type = VT_DISPATCH, into.objectInterface = attr->guid;
        break;
    }
    case VT_UNKNOWN: into.type = VT_DISPATCH; break;
    case VT_INT: into.type = VT_I4; break;
    case VT_UINT: into.type = VT_UI4; break;
    default: into.type = type.vt; break;
    }
}

WORD flagsOf(INVOKEKIND kind) {
    return kind == INVOKE_PROPERTYGET      ? DISPATCH_PROPERTYGET
           : kind == INVOKE_PROPERTYPUT    ? DISPATCH_PROPERTYPUT
           : kind == INVOKE_PROPERTYPUTREF ? DISPATCH_PROPERTYPUTREF
                                           : DISPATCH_METHOD;
}

}  // namespace

std::wstring Member::title() const {
    const wchar_t* kind = flags == DISPATCH_PROPERTYGET      ? L" [get]"
                          : flags == DISPATCH_PROPERTYPUT    ? L" [let]"
                          : flags == DISPATCH_PROPERTYPUTREF ? L" [set]"
                                                             : L"";
    return interfaceName + L"." + name + kind;
}

Catalog::Catalog(const std::vector<std::wstring>& modules) {
    for (const std::wstring& module : modules) {
        com::ComPtr<ITypeLib> library;
        check(LoadTypeLibEx(module.c_str(), REGKIND_NONE, &library), "LoadTypeLibEx");
        // Dual interfaces only: the event interfaces are what sinks implement.
        for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
            com::ComPtr<ITypeInfo> info;
            check(library->GetTypeInfo(i, &info), "GetTypeInfo");
            const Attributes attr(info.Get());
            if (!(attr->wTypeFlags & TYPEFLAG_FDUAL)) continue;
            interfaces_.push_back(Interface{documentation(info.Get(), MEMBERID_NIL).name, attr->guid});
            readInterface(functionsOf(info.Get()).Get(), interfaces_.back());
        }
    }
}

void Catalog::readInterface(ITypeInfo* info, const Interface& face) {
    const WORD count = Attributes(info)->cFuncs;
    for (UINT f = 0; f < count; ++f) {
        const Function desc(info, f);
        if (desc->wFuncFlags & FUNCFLAG_FRESTRICTED) continue;
        Member member{face.name, face.id, documentation(info, desc->memid).name, desc->memid, flagsOf(desc->invkind), {}};
        BSTR names[32] = {};
        UINT found = 0;
        info->GetNames(desc->memid, names, 32, &found);
        for (SHORT p = 0; p < desc->cParams; ++p) {
            const USHORT flags = desc->lprgelemdescParam[p].paramdesc.wParamFlags;
            Parameter parameter;
            resolve(info, desc->lprgelemdescParam[p].tdesc, parameter);
            if (flags & PARAMFLAG_FRETVAL) {
                member.returnsObject = parameter.type == VT_DISPATCH;
                continue;
            }
            parameter.optional = (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
            // A property's last parameter is the value to set; it has no name.
            parameter.name = UINT(p + 1) < found && names[p + 1] ? names[p + 1] : L"Value";
            member.parameters.push_back(parameter);
        }
        for (UINT n = 0; n < found; ++n) SysFreeString(names[n]);
        members_.push_back(std::move(member));
    }
}

}  // namespace fuzz
