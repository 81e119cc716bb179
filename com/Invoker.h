#pragma once
// IDispatch::Invoke for every object of both components, driven by the type
// library. It calls the vtable member itself (through DispCallFunc) instead of
// leaving that to ITypeInfo::Invoke, so that it can:
//  - pass arrays of records (a Wine typeinfo refuses them);
//  - accept a script's by-reference variable (a reference to a VARIANT) for a
//    typed by-reference parameter and write the member's change back;
//  - fill an array of all-Long records from a flat list of numbers, from a
//    VBScript Array(...) or a JScript array, since scripts cannot build records.

#include <oaidl.h>

namespace com {

HRESULT invoke(ITypeInfo* vtableInfo, IUnknown* object, DISPID member, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept;

// How many 32-bit integer fields a record has when it is made of nothing
// else (a point, say), 0 otherwise: the records the invoker fills from a
// flat list of numbers.
UINT longFieldsOf(IRecordInfo* record) noexcept;

}  // namespace com
