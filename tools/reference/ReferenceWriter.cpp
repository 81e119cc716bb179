#include "ReferenceWriter.h"

#include "TypeLibrary.h"

#include <cstdio>
#include <utility>

using Microsoft::WRL::ComPtr;
using namespace typelib;

namespace {

std::wstring guidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring number(long long value) { return std::to_wstring(value); }

std::wstring hexadecimal(unsigned long value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"&H%lX", value);
    return text;
}

// Heading anchors as Markdown renderers make them.
std::wstring anchor(const std::wstring& name) {
    std::wstring result;
    for (wchar_t c : name) {
        if (c >= L'A' && c <= L'Z') result += static_cast<wchar_t>(c - L'A' + L'a');
        else if ((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-') result += c;
        else if (c == L' ') result += L'-';
    }
    return result;
}

// A help string inside a table cell.
std::wstring cell(const std::wstring& text) {
    std::wstring result;
    for (wchar_t c : text) {
        if (c == L'|') result += L"\\|";
        else if (c == L'<') result += L"&lt;";
        else if (c == L'\r' || c == L'\n') result += L' ';
        else result += c;
    }
    return result;
}

std::wstring joined(const std::vector<std::wstring>& parts, const wchar_t* separator) {
    std::wstring result;
    for (const std::wstring& part : parts) {
        if (!result.empty()) result += separator;
        result += part;
    }
    return result;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

// The dispatch identifiers of IUnknown's and IDispatch's own functions.
bool inherited(MEMBERID id) { return id >= 0x60000000 && id < 0x60020000; }

}  // namespace

void ReferenceWriter::add(ITypeLib* library, const std::wstring& file) {
    libraries_.push_back({ComPtr<ITypeLib>(library), file});
}

std::string ReferenceWriter::markdown() {
    for (const Library& library : libraries_) collectClasses(library.library.Get());
    for (const Library& library : libraries_) collectSources(library.library.Get());

    std::wstring out = L"# Reference\n\n"
        L"Every class, member, event and enumeration of Kolorit and Vellum, as their type libraries describe them.\n"
        L"This file is written by `make docs` from the type libraries inside the built DLLs; the test suite fails\n"
        L"when it no longer matches them.\n\n"
        L"Parameters are written as in Visual Basic: `Optional` ones may be left out, `= value` is the default an\n"
        L"omitted one takes, `ByRef` ones are passed by reference (the member can change the caller's variable).\n"
        L"A property can be read (get), assigned a value (let) or assigned an object with `Set` (set). Id is the\n"
        L"dispatch identifier. Object types are named by their class, as object browsers show them.\n\n";
    for (const Library& library : libraries_) {
        const Documentation doc = documentation(library.library.Get(), -1);
        std::vector<std::wstring> classes;
        std::vector<std::wstring> enumerations;
        for (UINT i = 0; i < library.library->GetTypeInfoCount(); ++i) {
            TYPEKIND kind;
            check(library.library->GetTypeInfoType(i, &kind), "GetTypeInfoType");
            const std::wstring name = documentation(library.library.Get(), static_cast<INT>(i)).name;
            const std::wstring link = L"[" + name + L"](#" + anchor(name) + L")";
            if (kind == TKIND_COCLASS) classes.push_back(link);
            if (kind == TKIND_ENUM) enumerations.push_back(link);
        }
        out += L"- [" + doc.name + L"](#" + anchor(doc.name) + L"): " + joined(classes, L", ") + L"\n";
        if (!enumerations.empty()) out += L"  - enumerations: " + joined(enumerations, L", ") + L"\n";
    }
    for (const Library& library : libraries_) writeLibrary(out, library);
    return utf8(out);
}

void ReferenceWriter::collectClasses(ITypeLib* library) {
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        check(library->GetTypeInfo(i, &info), "GetTypeInfo");
        const Attributes attr(info.Get());
        const std::wstring name = documentation(info.Get(), MEMBERID_NIL).name;
        if (attr->typekind == TKIND_ENUM || attr->typekind == TKIND_RECORD || attr->typekind == TKIND_COCLASS)
            documented_[name] = attr->typekind;
        if (attr->typekind != TKIND_COCLASS) continue;
        for (UINT j = 0; j < attr->cImplTypes; ++j) {
            INT flags = 0;
            HREFTYPE type = 0;
            check(info->GetImplTypeFlags(j, &flags), "GetImplTypeFlags");
            check(info->GetRefTypeOfImplType(j, &type), "GetRefTypeOfImplType");
            const std::wstring face = documentation(referenced(info.Get(), type).Get(), MEMBERID_NIL).name;
            ofClass_[face] = true;
            if ((flags & IMPLTYPEFLAG_FDEFAULT) && !(flags & IMPLTYPEFLAG_FSOURCE)) classOfInterface_[face] = name;
        }
    }
}

void ReferenceWriter::collectSources(ITypeLib* library) {
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        check(library->GetTypeInfo(i, &info), "GetTypeInfo");
        const Attributes attr(info.Get());
        if (attr->typekind != TKIND_DISPATCH && attr->typekind != TKIND_INTERFACE) continue;
        const std::wstring face = documentation(info.Get(), MEMBERID_NIL).name;
        const auto owner = classOfInterface_.find(face);
        const std::wstring holder = owner == classOfInterface_.end() ? face : owner->second;
        for (const Member& member : members(info.Get())) {
            const auto result = documented_.find(member.resultType);
            if (result == documented_.end() || result->second != TKIND_COCLASS) continue;
            obtainedFrom_[member.resultType].push_back(L"`" + member.name + L"` of " + holder);
        }
    }
}

void ReferenceWriter::writeLibrary(std::wstring& out, const Library& library) const {
    ITypeLib* lib = library.library.Get();
    const Documentation doc = documentation(lib, -1);
    TLIBATTR* attr = nullptr;
    check(lib->GetLibAttr(&attr), "GetLibAttr");
    out += L"\n## " + doc.name + L"\n\n" + doc.text + L". Type library " + guidText(attr->guid) + L", version " +
           number(attr->wMajorVerNum) + L"." + number(attr->wMinorVerNum) + L", inside `" + library.file + L"`.\n";
    lib->ReleaseTLibAttr(attr);

    std::vector<ComPtr<ITypeInfo>> others, enumerations, records, aliases;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        check(lib->GetTypeInfo(i, &info), "GetTypeInfo");
        const Attributes type(info.Get());
        const std::wstring name = documentation(info.Get(), MEMBERID_NIL).name;
        switch (type->typekind) {
        case TKIND_COCLASS: writeClass(out, info.Get()); break;
        case TKIND_ENUM: enumerations.push_back(info); break;
        case TKIND_RECORD: records.push_back(info); break;
        case TKIND_ALIAS: aliases.push_back(info); break;
        case TKIND_DISPATCH:
        case TKIND_INTERFACE:
            // Interfaces are shown with their class; a source interface as
            // the events of the class that raises them.
            if (!ofClass_.count(name)) others.push_back(info);
            break;
        default: break;
        }
    }
    for (const ComPtr<ITypeInfo>& face : others) {
        const Documentation d = documentation(face.Get(), MEMBERID_NIL);
        out += L"\n### " + d.name + L"\n\n" + (d.text.empty() ? L"" : d.text + L"\n\n") + L"Interface " +
               guidText(Attributes(face.Get())->guid) + L".\n";
        writeMembers(out, face.Get(), false);
    }
    if (!enumerations.empty()) {
        out += L"\n### Enumerations of " + doc.name + L"\n";
        for (const ComPtr<ITypeInfo>& info : enumerations) writeEnumeration(out, info.Get());
    }
    if (!records.empty()) {
        out += L"\n### Records of " + doc.name + L"\n";
        for (const ComPtr<ITypeInfo>& info : records) writeRecord(out, info.Get());
    }
    if (!aliases.empty()) {
        out += L"\n### Type aliases of " + doc.name + L"\n\n| Name | Stands for | Description |\n|---|---|---|\n";
        for (const ComPtr<ITypeInfo>& info : aliases) {
            const Documentation d = documentation(info.Get(), MEMBERID_NIL);
            out += L"| " + d.name + L" | " + typeName(info.Get(), Attributes(info.Get())->tdescAlias) + L" | " +
                   cell(d.text) + L" |\n";
        }
    }
}

void ReferenceWriter::writeClass(std::wstring& out, ITypeInfo* coclass) const {
    const Documentation doc = documentation(coclass, MEMBERID_NIL);
    const Attributes attr(coclass);
    out += L"\n### " + doc.name + L"\n\n";
    if (!doc.text.empty()) out += doc.text + L"\n\n";

    std::vector<std::wstring> traits;
    traits.push_back((attr->wTypeFlags & TYPEFLAG_FCANCREATE) ? L"Creatable" : L"Not creatable");
    if (attr->wTypeFlags & TYPEFLAG_FAPPOBJECT) traits.push_back(L"the application object");
    if (attr->wTypeFlags & TYPEFLAG_FPREDECLID) traits.push_back(L"predeclared");
    out += joined(traits, L", ");
    const auto from = obtainedFrom_.find(doc.name);
    if (from != obtainedFrom_.end()) out += L"; returned by " + joined(from->second, L", ");
    out += L". Class identifier " + guidText(attr->guid) + L".\n";

    ComPtr<ITypeInfo> face, events;
    for (UINT i = 0; i < attr->cImplTypes; ++i) {
        INT flags = 0;
        HREFTYPE type = 0;
        check(coclass->GetImplTypeFlags(i, &flags), "GetImplTypeFlags");
        check(coclass->GetRefTypeOfImplType(i, &type), "GetRefTypeOfImplType");
        if (!(flags & IMPLTYPEFLAG_FDEFAULT)) continue;
        (flags & IMPLTYPEFLAG_FSOURCE ? events : face) = referenced(coclass, type);
    }
    if (face) {
        const Attributes f(face.Get());
        out += L"\nInterface `" + documentation(face.Get(), MEMBERID_NIL).name + L"` " + guidText(f->guid) +
               ((f->wTypeFlags & TYPEFLAG_FDUAL) ? L" (dual).\n" : L".\n");
        writeMembers(out, face.Get(), false);
    }
    if (events) {
        out += L"\nEvents, interface `" + documentation(events.Get(), MEMBERID_NIL).name + L"` " +
               guidText(Attributes(events.Get())->guid) + L":\n";
        writeMembers(out, events.Get(), true);
    }
}

void ReferenceWriter::writeMembers(std::wstring& out, ITypeInfo* face, bool events) const {
    const std::vector<Member> list = members(face);
    if (list.empty()) return;
    out += events ? L"\n| Event | Id | Parameters | Description |\n|---|--:|---|---|\n"
                  : L"\n| Member | Kind | Id | Parameters | Result | Description |\n|---|---|--:|---|---|---|\n";
    for (const Member& m : list) {
        std::wstring description = cell(m.description);
        if (!m.flags.empty()) description += (description.empty() ? L"" : L" ") + std::wstring(L"*(") + joined(m.flags, L", ") + L")*";
        const std::wstring parameters = joined(m.parameters, L"<br>");
        if (events) {
            out += L"| `" + m.name + L"` | " + number(m.id) + L" | " + parameters + L" | " + description + L" |\n";
            continue;
        }
        std::wstring kind = L"method";
        if (!m.method) {
            std::vector<std::wstring> access;
            if (m.get) access.push_back(L"get");
            if (m.let) access.push_back(L"let");
            if (m.set) access.push_back(L"set");
            kind = L"property (" + joined(access, L"/") + L")";
        }
        out += L"| `" + m.name + L"` | " + kind + L" | " + number(m.id) + L" | " + parameters + L" | " + m.result +
               L" | " + description + L" |\n";
    }
}

std::vector<ReferenceWriter::Member> ReferenceWriter::members(ITypeInfo* face) const {
    const ComPtr<ITypeInfo> info = functionsOf(face);
    const Attributes attr(info.Get());
    std::vector<Member> list;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        const Function f(info.Get(), i);
        if (inherited(f->memid)) continue;
        Member* member = nullptr;
        for (Member& m : list)
            if (m.id == f->memid) member = &m;
        if (!member) {
            list.push_back({});
            member = &list.back();
            member->id = f->memid;
            const Documentation doc = documentation(info.Get(), f->memid);
            member->name = doc.name;
            member->description = doc.text;
            if (f->memid == DISPID_VALUE) member->flags.push_back(L"default member");
        }
        const auto flag = [&](WORD bit, const wchar_t* text) {
            if (!(f->wFuncFlags & bit)) return;
            for (const std::wstring& known : member->flags)
                if (known == text) return;
            member->flags.push_back(text);
        };
        flag(FUNCFLAG_FHIDDEN, L"hidden");
        flag(FUNCFLAG_FRESTRICTED, L"restricted");
        flag(FUNCFLAG_FUIDEFAULT, L"shown first by user interfaces");

        std::vector<BSTR> names(static_cast<size_t>(f->cParams) + 1, nullptr);
        UINT count = 0;
        check(info->GetNames(f->memid, names.data(), static_cast<UINT>(names.size()), &count), "GetNames");
        std::vector<std::wstring> parameterNames;
        for (UINT n = 0; n < count; ++n) {
            const std::wstring name = take(names[n]);
            if (n > 0) parameterNames.push_back(name);
        }

        const bool get = f->invkind == INVOKE_PROPERTYGET;
        const bool put = f->invkind == INVOKE_PROPERTYPUT || f->invkind == INVOKE_PROPERTYPUTREF;
        member->method = f->invkind == INVOKE_FUNC;
        member->get |= get;
        member->let |= f->invkind == INVOKE_PROPERTYPUT;
        member->set |= f->invkind == INVOKE_PROPERTYPUTREF;
        std::vector<std::wstring> parameters;
        for (SHORT p = 0; p < f->cParams; ++p) {
            const ELEMDESC& element = f->lprgelemdescParam[p];
            const bool last = p == f->cParams - 1;
            if ((element.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) || (put && last)) {
                TYPEDESC type = element.tdesc;
                if (!put) type = *type.lptdesc;
                if (member->result.empty()) {
                    member->result = typeName(info.Get(), type);
                    member->resultType = typeName(info.Get(), type, false);
                }
                continue;
            }
            const std::wstring name = static_cast<size_t>(p) < parameterNames.size() ? parameterNames[p] : L"Value";
            parameters.push_back(parameter(info.Get(), element, name));
        }
        if (member->parameters.empty() && (member->method || get || !parameters.empty())) member->parameters = parameters;
        if (member->method && member->result.empty() && f->elemdescFunc.tdesc.vt != VT_HRESULT &&
            f->elemdescFunc.tdesc.vt != VT_VOID) {
            member->result = typeName(info.Get(), f->elemdescFunc.tdesc);
            member->resultType = typeName(info.Get(), f->elemdescFunc.tdesc, false);
        }
    }
    return list;
}

bool ReferenceWriter::isObject(ITypeInfo* context, const TYPEDESC& type) const {
    if (type.vt == VT_DISPATCH || type.vt == VT_UNKNOWN) return true;
    if (type.vt != VT_USERDEFINED) return false;
    const ComPtr<ITypeInfo> info = referenced(context, type.hreftype);
    const TYPEKIND kind = Attributes(info.Get())->typekind;
    return kind == TKIND_INTERFACE || kind == TKIND_DISPATCH || kind == TKIND_COCLASS;
}

std::wstring ReferenceWriter::typeName(ITypeInfo* context, const TYPEDESC& type, bool linked) const {
    switch (type.vt) {
    case VT_I1: return L"Char";
    case VT_UI1: return L"Byte";
    case VT_I2: return L"Integer";
    case VT_UI2: return L"Unsigned Integer";
    case VT_I4:
    case VT_INT: return L"Long";
    case VT_UI4:
    case VT_UINT: return L"Unsigned Long";
    case VT_I8: return L"LongLong";
    case VT_UI8: return L"Unsigned LongLong";
    case VT_R4: return L"Single";
    case VT_R8: return L"Double";
    case VT_CY: return L"Currency";
    case VT_DATE: return L"Date";
    case VT_DECIMAL: return L"Decimal";
    case VT_BSTR:
    case VT_LPSTR:
    case VT_LPWSTR: return L"String";
    case VT_BOOL: return L"Boolean";
    case VT_VARIANT: return L"Variant";
    case VT_DISPATCH: return L"Object";
    case VT_UNKNOWN: return L"Unknown";
    case VT_ERROR:
    case VT_HRESULT: return L"HRESULT";
    case VT_VOID: return L"";
    case VT_SAFEARRAY: return typeName(context, *type.lptdesc, linked) + L"()";
    case VT_PTR: return typeName(context, *type.lptdesc, linked);
    case VT_USERDEFINED: {
        const ComPtr<ITypeInfo> info = referenced(context, type.hreftype);
        std::wstring name = documentation(info.Get(), MEMBERID_NIL).name;
        const auto owner = classOfInterface_.find(name);
        if (owner != classOfInterface_.end()) name = owner->second;
        if (linked && documented_.count(name)) return L"[" + name + L"](#" + anchor(name) + L")";
        return name;
    }
    default: return L"VARTYPE " + number(type.vt);
    }
}

std::wstring ReferenceWriter::parameter(ITypeInfo* context, const ELEMDESC& element, const std::wstring& name) const {
    const PARAMDESC& desc = element.paramdesc;
    TYPEDESC type = element.tdesc;
    bool byRef = false;
    // A pointer to an interface is an object passed by value.
    if (type.vt == VT_PTR && !isObject(context, *type.lptdesc)) {
        byRef = true;
        type = *type.lptdesc;
    }
    std::wstring text;
    if (desc.wParamFlags & PARAMFLAG_FOPT) text += L"Optional ";
    if (byRef) text += L"ByRef ";
    text += name + L" As " + typeName(context, type);
    if ((desc.wParamFlags & PARAMFLAG_FHASDEFAULT) && desc.pparamdescex)
        text += L" = " + defaultValue(context, type, desc.pparamdescex->varDefaultValue);
    return text;
}

std::wstring ReferenceWriter::defaultValue(ITypeInfo* context, const TYPEDESC& type, const VARIANT& value) const {
    if (V_VT(&value) == VT_BSTR) return L"\"" + std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value))) + L"\"";
    if (V_VT(&value) == VT_R4 || V_VT(&value) == VT_R8) {
        wchar_t text[32];
        std::swprintf(text, 32, L"%g", V_VT(&value) == VT_R4 ? V_R4(&value) : V_R8(&value));
        return text;
    }
    VARIANT whole;
    VariantInit(&whole);
    if (FAILED(VariantChangeType(&whole, const_cast<VARIANT*>(&value), 0, VT_I4))) return L"(VARTYPE " + number(V_VT(&value)) + L")";
    const long n = V_I4(&whole);
    const TYPEDESC* target = type.vt == VT_PTR ? type.lptdesc : &type;
    if (isObject(context, *target) && n == 0) return L"Nothing";
    if (target->vt == VT_BOOL) return n ? L"True" : L"False";
    if (target->vt == VT_USERDEFINED) {
        const ComPtr<ITypeInfo> info = referenced(context, target->hreftype);
        const Attributes attr(info.Get());
        for (UINT i = 0; attr->typekind == TKIND_ENUM && i < attr->cVars; ++i) {
            const Variable v(info.Get(), i);
            VARIANT member;
            VariantInit(&member);
            if (SUCCEEDED(VariantChangeType(&member, v->lpvarValue, 0, VT_I4)) && V_I4(&member) == n)
                return documentation(info.Get(), v->memid).name;
        }
    }
    return number(n);
}

void ReferenceWriter::writeEnumeration(std::wstring& out, ITypeInfo* info) const {
    const Documentation doc = documentation(info, MEMBERID_NIL);
    const Attributes attr(info);
    out += L"\n#### " + doc.name + L"\n\n" + (doc.text.empty() ? L"" : doc.text + L"\n\n") + L"| Name | Value |\n|---|--:|\n";
    for (UINT i = 0; i < attr->cVars; ++i) {
        const Variable v(info, i);
        VARIANT value;
        VariantInit(&value);
        check(VariantChangeType(&value, v->lpvarValue, 0, VT_I4), "VariantChangeType");
        const long n = V_I4(&value);
        std::wstring text = number(n);
        // Raster operations and flags read better in hexadecimal.
        if (n < 0 || n >= 0x10000) text += L" (" + hexadecimal(static_cast<unsigned long>(n)) + L")";
        out += L"| `" + documentation(info, v->memid).name + L"` | " + text + L" |\n";
    }
}

void ReferenceWriter::writeRecord(std::wstring& out, ITypeInfo* info) const {
    const Documentation doc = documentation(info, MEMBERID_NIL);
    const Attributes attr(info);
    out += L"\n#### " + doc.name + L"\n\n" + (doc.text.empty() ? L"" : doc.text + L"\n\n");
    if (!IsEqualGUID(attr->guid, GUID_NULL)) out += L"Record " + guidText(attr->guid) + L".\n\n";
    out += L"| Field | Type | Description |\n|---|---|---|\n";
    for (UINT i = 0; i < attr->cVars; ++i) {
        const Variable v(info, i);
        const Documentation field = documentation(info, v->memid);
        out += L"| `" + field.name + L"` | " + typeName(info, v->elemdescVar.tdesc) + L" | " + cell(field.text) + L" |\n";
    }
}
