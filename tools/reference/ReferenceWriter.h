#pragma once
// Writes the reference of one or more type libraries as Markdown: what an
// object browser shows, read from the built libraries themselves so that
// the reference can never describe something the DLLs do not carry.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

class ReferenceWriter {
public:
    // Libraries are written in the order they are added; types of every
    // added library are known when another one refers to them.
    void add(ITypeLib* library, const std::wstring& file);
    std::string markdown();

private:
    struct Library {
        Microsoft::WRL::ComPtr<ITypeLib> library;
        std::wstring file;
    };

    struct Member {
        MEMBERID id = 0;
        std::wstring name;
        std::wstring description;
        bool method = false, get = false, let = false, set = false;
        std::vector<std::wstring> flags;
        std::vector<std::wstring> parameters;
        std::wstring result;
        std::wstring resultType;  // plain name, for finding where objects come from
    };

    void collectClasses(ITypeLib* library);
    void collectSources(ITypeLib* library);
    void writeLibrary(std::wstring& out, const Library& library) const;
    void writeClass(std::wstring& out, ITypeInfo* coclass) const;
    void writeMembers(std::wstring& out, ITypeInfo* face, bool events) const;
    void writeEnumeration(std::wstring& out, ITypeInfo* info) const;
    void writeRecord(std::wstring& out, ITypeInfo* info) const;

    std::vector<Member> members(ITypeInfo* face) const;
    std::wstring typeName(ITypeInfo* context, const TYPEDESC& type, bool linked = true) const;
    bool isObject(ITypeInfo* context, const TYPEDESC& type) const;
    std::wstring parameter(ITypeInfo* context, const ELEMDESC& element, const std::wstring& name) const;
    std::wstring defaultValue(ITypeInfo* context, const TYPEDESC& type, const VARIANT& value) const;

    std::vector<Library> libraries_;
    // Clients see a hidden default interface under its class's name.
    std::map<std::wstring, std::wstring> classOfInterface_;
    // Interfaces a class implements or raises events through.
    std::map<std::wstring, bool> ofClass_;
    // Where each class's objects come from: "Member of Class".
    std::map<std::wstring, std::vector<std::wstring>> obtainedFrom_;
    // Classes, enumerations and records: each has a heading of its own,
    // linked where the type is used.
    std::map<std::wstring, TYPEKIND> documented_;
};
