#pragma once
// IDispatch for every object of both components, driven by the type
// library's dispatch tables (DispatchTable.h). It calls the vtable member
// itself (through DispCallFunc) instead of leaving that to ITypeInfo::Invoke,
// so that it can:
//  - pass arrays of records (a Wine typeinfo refuses them);
//  - accept a script's by-reference variable (a reference to a VARIANT) for a
//    typed by-reference parameter and write the member's change back;
//  - build a typed array, or an array of all-Long records, from a flat list,
//    a VBScript Array(...) or a JScript array, since scripts can build
//    neither.

#include "DispatchTable.h"

#include <oaidl.h>

namespace com {

HRESULT invoke(const DispatchTable& table, IUnknown* object, DISPID member, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept;

// The same for an interface known only by the vtable half of its type information.
HRESULT invoke(ITypeInfo* vtableInfo, IUnknown* object, DISPID member, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept;
HRESULT idsOfNames(ITypeInfo* vtableInfo, LPOLESTR* names, UINT count, DISPID* ids) noexcept;

// The longest JScript array a call takes: a script object may claim any
// length without holding the elements, and every element is one call into
// the script engine.
constexpr ULONG maximumScriptListLength = 1UL << 20;

}  // namespace com
