#pragma once
// Every member of every dual interface in the components' type libraries,
// read from the built libraries at run time: members added later are called
// without any change here.

#include "com/Ptr.h"

#include <oaidl.h>

#include <string>
#include <vector>

namespace fuzz {

// A parameter's type with aliases and enumerations resolved.
struct Parameter {
    std::wstring name;
    VARTYPE type = VT_EMPTY;  // VT_I4, VT_BSTR, ..., VT_DISPATCH for objects, VT_ARRAY | element
    bool byReference = false;
    bool optional = false;
    IID objectInterface = IID_NULL;  // of an object parameter
};

struct Member {
    std::wstring interfaceName;
    IID interfaceId = IID_NULL;
    std::wstring name;
    DISPID id = 0;
    WORD flags = DISPATCH_METHOD;  // the one Invoke flag its kind takes
    std::vector<Parameter> parameters;
    bool returnsObject = false;

    std::wstring title() const;  // "_DCDrawing.DrawLine", "_GDIDC.Width [get]"
};

struct Interface {
    std::wstring name;
    IID id = IID_NULL;
};

class Catalog {
public:
    // Reads the type libraries bound into the given modules.
    explicit Catalog(const std::vector<std::wstring>& modules);

    const std::vector<Member>& members() const { return members_; }
    const std::vector<Interface>& interfaces() const { return interfaces_; }

private:
    void readInterface(ITypeInfo* info, const Interface& face);

    std::vector<Member> members_;
    std::vector<Interface> interfaces_;
};

}  // namespace fuzz
