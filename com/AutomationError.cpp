#include "AutomationError.h"

namespace com {
namespace {

const wchar_t* runtimeErrorSource = L"";

const wchar_t* standardDescription(RuntimeError error) {
    switch (error) {
    case RuntimeError::InvalidArgument: return L"Invalid procedure call or argument";
    case RuntimeError::Overflow: return L"Overflow";
    case RuntimeError::OutOfMemory: return L"Out of memory";
    case RuntimeError::SubscriptOutOfRange: return L"Subscript out of range";
    case RuntimeError::DivisionByZero: return L"Division by zero";
    case RuntimeError::TypeMismatch: return L"Type mismatch";
    case RuntimeError::WrongArguments: return L"Wrong number of arguments or invalid property assignment";
    }
    return L"";
}

}  // namespace

HRESULT AutomationError::failureCode() const noexcept {
    if (number_ >= 1 && number_ <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number_);
    return static_cast<HRESULT>(static_cast<unsigned long>(number_) | 0x80000000UL);
}

void setRuntimeErrorSource(const wchar_t* source) { runtimeErrorSource = source; }

void raise(RuntimeError error) { raise(error, standardDescription(error)); }

void raise(RuntimeError error, const std::wstring& description) {
    throw AutomationError(static_cast<long>(error), runtimeErrorSource, description);
}

}  // namespace com
